// A child process of the fault tests: the worker program started with its
// standard output on a pipe that the test reads line by line, and stopped,
// killed or waited for by its process id.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace faulttest {

class ChildProcess {
public:
    // Starts `program` with `arguments`; its standard output comes to us.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess(); // kills and reaps a child that is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }

    // The next whole line the child wrote, without its line end; false at
    // the end of its output.
    bool readLine(std::string& line);

    // Sends SIGKILL and reaps the child.
    void kill();

    // Waits for the child; its exit status, or -1 when a signal ended it.
    int wait();

    // Every line the child writes from now until it closes its output.
    std::vector<std::string> remainingLines();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
    bool reaped_ = false;
    int status_ = -1;
};

} // namespace faulttest
