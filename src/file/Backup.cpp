// The in-process backup copy of a database file.
#include "file/Backup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies source into the open file `target`; empty text on success.
std::string copyInto(const std::string& source, int target, const std::string& targetName) {
    FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (input.get() < 0)
        return systemError("cannot read", source);
    struct stat status {};
    if (::fstat(input.get(), &status) == 0)
        ::fchmod(target, status.st_mode & 07777); // the copy keeps the original's permissions
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(input.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return systemError("cannot read", source);
        }
        if (got == 0)
            break;
        if (!writeAll(target, buffer, static_cast<size_t>(got)))
            return systemError("cannot write", targetName);
    }
    if (::fsync(target) != 0)
        return systemError("cannot write", targetName);
    return std::string();
}

} // namespace

BackupPaths backupPathsFor(const std::string& databasePath) {
    const size_t slash = databasePath.rfind('/');
    const std::string folderPart =
        slash == std::string::npos ? std::string() : databasePath.substr(0, slash + 1);
    const std::string fileName =
        slash == std::string::npos ? databasePath : databasePath.substr(slash + 1);
    BackupPaths paths;
    paths.folder = folderPart + "backup";
    paths.backupFile = paths.folder + "/" + fileName;
    return paths;
}

std::string makeBackup(const std::string& databasePath) {
    const BackupPaths paths = backupPathsFor(databasePath);
    if (databasePath.empty() || databasePath.back() == '/')
        return "no database file named in '" + databasePath + "'";
    if (::mkdir(paths.folder.c_str(), 0777) != 0 && errno != EEXIST)
        return systemError("cannot create", paths.folder);

    std::string temporary = paths.backupFile + ".XXXXXX";
    FileDescriptor target(::mkstemp(temporary.data()));
    if (target.get() < 0)
        return systemError("cannot create", paths.backupFile);
    std::string failure = copyInto(databasePath, target.get(), temporary);
    if (!target.close() && failure.empty())
        failure = systemError("cannot write", temporary);
    if (failure.empty() && std::rename(temporary.c_str(), paths.backupFile.c_str()) != 0)
        failure = systemError("cannot rename to", paths.backupFile);
    if (!failure.empty())
        ::unlink(temporary.c_str());
    return failure;
}
