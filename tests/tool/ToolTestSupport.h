// Helpers for the tool's tests: running rackbook-db in this process or as a
// child process, and reading a database file back with SQLite's C API.
#pragma once

#include "commands/Commands.h"

#include <sqlite3.h>

#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace rackbook::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline RunResult runInProcess(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = runTool(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

using Row = std::vector<std::optional<std::string>>;

// Runs `sql` on the database at `path` (opened read-only, never created)
// and returns every row as texts; NULL stays nothing.
inline std::vector<Row> query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(message + " in " + sql);
    }
    std::vector<Row> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
                row.push_back(std::nullopt);
            else
                row.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// The single value of a one-row, one-column query.
inline std::string queryValue(const std::string& path, const std::string& sql) {
    auto rows = query(path, sql);
    if (rows.size() != 1 || rows[0].size() != 1 || !rows[0][0])
        throw std::runtime_error("expected one value from " + sql);
    return *rows[0][0];
}

} // namespace rackbook::test
