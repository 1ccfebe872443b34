// The trace file: when the environment variable MDBLITE_TRACE names a file, the
// driver appends one line per handle allocation, handle release and executed
// statement. The driver manager unloads the driver at the last disconnect, so
// the file (not memory) is where a test checks that every handle was released
// and which statements ran.
#pragma once

#include <string_view>

namespace mdblite {

// Appends "alloc <kind> <id>" when tracing is on.
void traceAlloc(std::string_view kind, const void* handle);

// Appends "free <kind> <id>" when tracing is on.
void traceFree(std::string_view kind, const void* handle);

// Appends "exec <text>" with line breaks of the text written as \n and \r.
void traceExec(std::string_view statementText);

} // namespace mdblite
