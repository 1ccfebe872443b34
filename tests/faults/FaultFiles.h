// File helpers of the fault tests: reading a file whole to compare it
// before and after, and the immutable flag that stops writes even for root.
#pragma once

#include <string>

// The bytes of the file at `path`; the empty text when it cannot be read.
std::string readBytes(const std::string& path);

// Sets or clears the file system's immutable flag on `path` (a file or a
// folder); false when the file system or the user cannot.
bool setImmutable(const std::string& path, bool on);
