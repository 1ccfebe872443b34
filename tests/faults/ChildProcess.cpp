// Starting and stopping the worker processes of the fault tests.
#include "ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace faulttest {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);

    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    out_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !reaped_)
        kill();
    if (out_ >= 0)
        close(out_);
}

bool ChildProcess::readLine(std::string& line) {
    for (;;) {
        auto end = pending_.find('\n');
        if (end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        char buffer[4096];
        ssize_t got = read(out_, buffer, sizeof buffer);
        if (got <= 0)
            return false; // a last line without its line end was cut by a kill
        pending_.append(buffer, static_cast<size_t>(got));
    }
}

std::vector<std::string> ChildProcess::remainingLines() {
    std::vector<std::string> lines;
    std::string line;
    while (readLine(line))
        lines.push_back(line);
    return lines;
}

void ChildProcess::kill() {
    if (pid_ <= 0 || reaped_)
        return;
    ::kill(pid_, SIGKILL);
    wait();
}

int ChildProcess::wait() {
    if (pid_ <= 0)
        return -1;
    if (!reaped_) {
        int status = 0;
        if (waitpid(pid_, &status, 0) == pid_)
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        reaped_ = true;
    }
    return status_;
}

} // namespace faulttest
