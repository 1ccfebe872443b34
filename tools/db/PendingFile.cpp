// Temporary-then-rename files; see PendingFile.h.
#include "db/PendingFile.h"

#include "ToolError.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace rackbook {

namespace {

// The temporary file being written, for the signal handler: an interrupted
// run (Ctrl-C, kill) removes it too.  Only one file is pending at a time.
char pendingPath[4096];
char pendingJournal[4096 + 8];
volatile std::sig_atomic_t pendingActive = 0;
const int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removePendingAndDie(int signal) {
    if (pendingActive) {
        unlink(pendingPath);
        unlink(pendingJournal);
    }
    std::signal(signal, SIG_DFL);
    raise(signal);
}

void watchSignals(const std::string& temp) {
    if (temp.size() >= sizeof pendingPath)
        return; // too long to keep; an interrupt then leaves the hidden file
    std::memcpy(pendingPath, temp.c_str(), temp.size() + 1);
    std::string journal = temp + "-journal";
    std::memcpy(pendingJournal, journal.c_str(), journal.size() + 1);
    pendingActive = 1;
    for (int signal : kCleanupSignals)
        std::signal(signal, removePendingAndDie);
}

void unwatchSignals() {
    pendingActive = 0;
    for (int signal : kCleanupSignals)
        std::signal(signal, SIG_DFL);
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Moves `from` to `to` unless `to` exists, in one step.  Where the file
// system cannot rename without replacing, a hard link gives the same
// guarantee.
bool moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    unlink(from.c_str());
    return true;
}

} // namespace

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
    if (target_.empty())
        throw ToolError("no file named");
    if (exists(target_))
        throw ToolError(target_ + ": already exists; it is left as it is (choose a new name)");
    std::string prefix =
        folderOf(target_) + "/." + baseOf(target_) + ".part-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + std::to_string(attempt);
        int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            temp_ = candidate;
            watchSignals(temp_);
            return;
        }
        if (errno != EEXIST)
            throw ToolError(target_ + ": cannot create a file in " + folderOf(target_) + ": " +
                            std::strerror(errno));
    }
    throw ToolError(target_ + ": cannot find a free temporary name in " + folderOf(target_));
}

PendingFile::~PendingFile() {
    if (temp_.empty())
        return;
    unwatchSignals();
    if (committed_)
        return;
    unlink(temp_.c_str());
    unlink((temp_ + "-journal").c_str()); // left by SQLite only after a crash
}

void PendingFile::commit() {
    if (!moveWithoutReplacing(temp_, target_)) {
        int error = errno;
        if (error == EEXIST)
            throw ToolError(target_ + ": appeared while it was being written; left as it is");
        throw ToolError(target_ + ": cannot put the file in place: " + std::strerror(error));
    }
    committed_ = true;
    unwatchSignals();
    // Make the new name itself durable.
    int dir = open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

} // namespace rackbook
