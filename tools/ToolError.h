// The one error type of rackbook-db: every command throws it with a message
// that names the file, line or column at fault; main prints it and exits
// non-zero.  Nothing else in the tool reports failure by exception.
#pragma once

#include <stdexcept>
#include <string>

namespace rackbook {

class ToolError : public std::runtime_error {
public:
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

// A wrong command line: main prints the message and a hint to --help.
class UsageError : public ToolError {
public:
    explicit UsageError(const std::string& message) : ToolError(message) {}
};

} // namespace rackbook
