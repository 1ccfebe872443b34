// A temporary folder for one test, removed with everything in it when the
// test ends.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Sorted names of the entries in a subfolder (empty when it is missing).
    std::vector<std::string> fileNames(const std::string& subfolder) const;

private:
    std::string path_;
};
