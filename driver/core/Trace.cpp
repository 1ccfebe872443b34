// Appends trace lines to the file named by MDBLITE_TRACE.
#include "Trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace mdblite {

namespace {

const char* tracePath() {
    const char* path = std::getenv("MDBLITE_TRACE");
    return (path && *path) ? path : nullptr;
}

// One write() of the whole line on an O_APPEND descriptor keeps lines of
// several processes from interleaving.
void appendLine(const char* path, std::string line) {
    line += '\n';
    int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    ssize_t written = ::write(fd, line.data(), line.size());
    (void)written; // tracing never changes the outcome of a call
    ::close(fd);
}

std::string handleId(const void* handle) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", handle);
    return buffer;
}

} // namespace

void traceAlloc(std::string_view kind, const void* handle) {
    if (const char* path = tracePath())
        appendLine(path, "alloc " + std::string(kind) + " " + handleId(handle));
}

void traceFree(std::string_view kind, const void* handle) {
    if (const char* path = tracePath())
        appendLine(path, "free " + std::string(kind) + " " + handleId(handle));
}

void traceExec(std::string_view statementText) {
    const char* path = tracePath();
    if (!path)
        return;
    std::string line = "exec ";
    for (char c : statementText) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    appendLine(path, line);
}

} // namespace mdblite
