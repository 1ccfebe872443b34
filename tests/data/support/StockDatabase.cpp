// Test databases made and read with sqlite3.
#include "support/StockDatabase.h"

#include <sqlite3.h>

#include <stdexcept>

const char* const kStandardColumns =
    "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, Position TEXT, Strain TEXT, "
    "Plasmid TEXT, Subunit TEXT, Mutation TEXT, Antibiotic TEXT, Dates_ID DATETIME, Comments MEMO";

const char* const kNull = "<NULL>";

namespace {

// An open database that closes itself.
class Database {
public:
    explicit Database(const std::string& path, int flags) {
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + path + ": " + message);
        }
        sqlite3_busy_timeout(db_, 5000);
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void run(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(sql + ": " + message);
        }
    }

    std::vector<Row> rows(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        std::vector<Row> result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const unsigned char* text = sqlite3_column_text(statement, i);
                row.push_back(text ? reinterpret_cast<const char*>(text) : kNull);
            }
            result.push_back(row);
        }
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

} // namespace

void createStockDatabase(const std::string& path, const std::string& columns,
                         const std::vector<std::string>& statements) {
    Database db(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.run("PRAGMA journal_mode=DELETE");
    db.run("CREATE TABLE StockTable (" + columns + ")");
    for (const std::string& statement : statements)
        db.run(statement);
}

void runSql(const std::string& path, const std::string& sql) {
    Database db(path, SQLITE_OPEN_READWRITE);
    db.run(sql);
}

std::vector<Row> queryRows(const std::string& path, const std::string& sql) {
    Database db(path, SQLITE_OPEN_READONLY);
    return db.rows(sql);
}

std::vector<Row> stockRows(const std::string& path) {
    return queryRows(path, "SELECT * FROM StockTable ORDER BY 1");
}
