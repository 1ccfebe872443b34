// Thin owning wrappers around SQLite's C handles for the tool.  Every failure
// throws ToolError with SQLite's own message and what was being done.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

namespace rackbook {

class Database {
public:
    // Opens an existing database file; never creates one.  Refuses a missing
    // path, a folder, a file that is no SQLite database, and a Microsoft
    // Access file (with a hint to import-mdb).
    static Database openExisting(const std::string& path, bool writable);

    // Opens the empty file `path` (made by PendingFile) as a new database,
    // with a rollback journal and full sync.
    static Database openNew(const std::string& path);

    Database(Database&& other) noexcept;
    Database& operator=(Database&&) = delete;
    Database(const Database&) = delete;
    ~Database();

    void exec(const std::string& sql);
    bool hasTable(const std::string& table);
    void close(); // closes now, reporting a failure; the destructor only closes quietly

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }

private:
    Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    sqlite3* db_;
    std::string path_;
};

class Statement {
public:
    Statement(Database& db, const std::string& sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void bindNull(int index);
    void bindText(int index, const std::string& text);
    void bindInt64(int index, std::int64_t value);
    void bindDouble(int index, double value);
    void bindOptionalText(int index, const std::optional<std::string>& text);

    // Runs one step: true when a row is ready, false when done.
    bool step();
    void reset(); // ready to bind and run again

    int columnCount() const;
    bool columnIsNull(int column) const;
    std::string columnText(int column) const;
    std::int64_t columnInt64(int column) const;
    double columnDouble(int column) const;
    int columnType(int column) const; // SQLITE_NULL, SQLITE_INTEGER, ...

private:
    [[noreturn]] void fail(const std::string& doing) const;
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool open_ = true;
};

// Quotes a name for SQL ("Name" with inner quotes doubled).
std::string quoteName(const std::string& name);

} // namespace rackbook
