// The program as a child process: see ProgramRun.h.
#include "ProgramRun.h"

#include "Desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

ProgramRun::ProgramRun(const std::string& binary, const std::string& folder) : folder_(folder) {
    pid_ = fork();
    if (pid_ != 0)
        return;
    // The child: only async-signal-safe calls until exec, apart from setenv,
    // which is safe here because the test runs one thread.
    if (chdir(folder.c_str()) != 0)
        _exit(127);
    const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
        _exit(127);
    setenv("MDBLITE_TRACE", (folder + "/trace.log").c_str(), 1);
    // A sanitized build of the program keeps its windows until exit by
    // design; leak reports at exit would only change its exit status.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 0);
    execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ProgramRun::running() {
    if (ended_ || pid_ <= 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    return true;
}

int ProgramRun::waitForExit(double seconds) {
    desktop::waitFor([this] { return !running(); }, seconds);
    return ended_ ? status_ : -1;
}

std::string ProgramRun::standardOutput() const {
    return readWholeFile(folder_ + "/stdout.txt");
}

std::vector<std::string> ProgramRun::outputLines() const {
    return splitLines(standardOutput());
}

std::string ProgramRun::standardError() const {
    return readWholeFile(folder_ + "/stderr.txt");
}

std::vector<std::string> ProgramRun::statements() const {
    std::vector<std::string> out;
    for (const std::string& line : splitLines(readWholeFile(folder_ + "/trace.log"))) {
        if (line.rfind("exec ", 0) == 0)
            out.push_back(line.substr(5));
    }
    return out;
}

bool ProgramRun::idle() const {
    int allocated = 0;
    int freed = 0;
    for (const std::string& line : splitLines(readWholeFile(folder_ + "/trace.log"))) {
        if (line.rfind("alloc env ", 0) == 0)
            ++allocated;
        else if (line.rfind("free env ", 0) == 0)
            ++freed;
    }
    return allocated == freed;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}
