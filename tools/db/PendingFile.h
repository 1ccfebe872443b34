// A file that appears under its final name only when complete: it is written
// under a hidden temporary name in the same folder and moved into place by
// commit(), which refuses to replace an existing file.  A run that fails or
// is interrupted before commit() leaves nothing behind.
#pragma once

#include <string>

namespace rackbook {

class PendingFile {
public:
    // Refuses at once when `target` exists; then creates the empty
    // temporary file.
    explicit PendingFile(std::string target);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile(); // removes the temporary file unless committed

    const std::string& tempPath() const { return temp_; }
    const std::string& target() const { return target_; }

    // Gives the temporary file its final name.  Fails, leaving no file, when
    // `target` appeared meanwhile.
    void commit();

private:
    std::string target_;
    std::string temp_;
    bool committed_ = false;
};

} // namespace rackbook
