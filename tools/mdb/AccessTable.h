// Reading one table of a Microsoft Access (Jet 3 / Jet 4) file through the
// mdbtools library, strictly read-only.  Values come out raw enough to be
// carried exactly: Date/Time as the stored day number, texts whole, NULL
// told apart from an empty text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rackbook {

struct AccessColumn {
    std::string name;
    int type = 0;      // an AccessType code
    int textChars = 0; // Text columns: the size in characters
};

struct AccessValue {
    enum class Kind { Null, Text, Integer, Real, Days, Unsupported };
    Kind kind = Kind::Null;
    std::string text;
    std::int64_t integer = 0;
    double real = 0; // Real: the number; Days: days since 1899-12-30
};

class AccessTable {
public:
    // Opens table `name` (case-insensitive) of the Access file at `path`.
    // Throws ToolError when the file is no Access file or has no such table
    // (the message lists the tables it has).
    AccessTable(const std::string& path, const std::string& name);
    ~AccessTable();
    AccessTable(const AccessTable&) = delete;
    AccessTable& operator=(const AccessTable&) = delete;

    const std::string& name() const;
    const std::vector<AccessColumn>& columns() const;
    std::vector<std::string> primaryKey() const; // column names, empty when none
    std::uint64_t storedRowCount() const;        // the count the table keeps

    // Reads the next row into `values` (one per column); false at the end.
    bool nextRow(std::vector<AccessValue>& values);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace rackbook
