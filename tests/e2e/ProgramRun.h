// The program as a user starts it: a child process in a folder of its own,
// with its standard output and standard error going to files in that folder
// and the database driver's statement log switched on, so that a test can
// follow what the program did while it runs.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ProgramRun {
public:
    // Starts `binary` in `folder`.  Standard output goes to
    // <folder>/stdout.txt, standard error to <folder>/stderr.txt, and the
    // driver writes each statement it runs to <folder>/trace.log.
    ProgramRun(const std::string& binary, const std::string& folder);
    // Kills the program if it is still running.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool running();
    // The exit status once the program has ended by itself, waiting up to
    // `seconds`; -1 when it is still running or ended by a signal.
    int waitForExit(double seconds);

    std::string standardOutput() const;
    std::vector<std::string> outputLines() const;
    std::string standardError() const;
    // The statements the driver ran, in order (the text after "exec ").
    std::vector<std::string> statements() const;
    // True when every connection the program opened has been released:
    // as many environments freed as allocated.
    bool idle() const;

private:
    std::string folder_;
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

// The whole content of a file, "" when it cannot be read.
std::string readWholeFile(const std::string& path);

// The lines of a text, without their line ends; a last line without a line
// end counts too.
std::vector<std::string> splitLines(const std::string& text);
