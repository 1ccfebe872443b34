// SQLite handle wrappers; see Sqlite.h.
#include "db/Sqlite.h"

#include "ToolError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace rackbook {

namespace {

// A Microsoft Access file carries its format's name at byte 4 of its header.
bool looksLikeAccessFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[32] = {};
    in.read(header, sizeof header);
    std::string text(header, static_cast<std::size_t>(in.gcount()));
    return text.find("Standard Jet DB") == 4 || text.find("Standard ACE DB") == 4;
}

void checkExistingFile(const std::string& path) {
    if (path.empty())
        throw ToolError("no database file named");
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw ToolError(path + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw ToolError(path + ": is a folder, not a database file");
    if (!S_ISREG(info.st_mode))
        throw ToolError(path + ": is not a regular file");
    if (looksLikeAccessFile(path))
        throw ToolError(path +
                        ": is a Microsoft Access file; convert it first with "
                        "'rackbook-db import-mdb " +
                        path + " NEW-DATABASE'");
}

} // namespace

Database Database::openExisting(const std::string& path, bool writable) {
    checkExistingFile(path);
    sqlite3* db = nullptr;
    int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    Database result(db, path);
    if (rc != SQLITE_OK)
        throw ToolError(path + ": cannot open: " + sqlite3_errstr(rc));
    sqlite3_busy_timeout(db, 5000);
    // SQLite reads the header lazily: touch the schema so that a file that
    // is no database is refused here.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        throw ToolError(path + ": is not a database (" + sqlite3_errmsg(db) + ")");
    return result;
}

Database Database::openNew(const std::string& path) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    Database result(db, path);
    if (rc != SQLITE_OK)
        throw ToolError(path + ": cannot open: " + sqlite3_errstr(rc));
    result.exec("PRAGMA journal_mode=DELETE");
    result.exec("PRAGMA synchronous=FULL");
    return result;
}

Database::Database(Database&& other) noexcept : db_(other.db_), path_(std::move(other.path_)) {
    other.db_ = nullptr;
}

Database::~Database() {
    if (db_)
        sqlite3_close_v2(db_);
}

void Database::exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw ToolError(path_ + ": " + text);
    }
}

bool Database::hasTable(const std::string& table) {
    Statement query(*this, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE "
                           "NOCASE");
    query.bindText(1, table);
    return query.step();
}

void Database::close() {
    if (!db_)
        return;
    int rc = sqlite3_close(db_);
    if (rc != SQLITE_OK)
        throw ToolError(path_ + ": cannot close: " + sqlite3_errstr(rc));
    db_ = nullptr;
}

Statement::Statement(Database& db, const std::string& sql) : db_(db.handle()) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
        fail("preparing " + sql);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::fail(const std::string& doing) const {
    throw ToolError(std::string(sqlite3_errmsg(db_)) + " (" + doing + ")");
}

void Statement::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        fail("binding a value");
}

void Statement::bindText(int index, const std::string& text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail("binding a value");
}

void Statement::bindInt64(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        fail("binding a value");
}

void Statement::bindDouble(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK)
        fail("binding a value");
}

void Statement::bindOptionalText(int index, const std::optional<std::string>& text) {
    if (text)
        bindText(index, *text);
    else
        bindNull(index);
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(sqlite3_sql(stmt_));
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

bool Statement::columnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string Statement::columnText(int column) const {
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
                : std::string();
}

std::int64_t Statement::columnInt64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double Statement::columnDouble(int column) const {
    return sqlite3_column_double(stmt_, column);
}

int Statement::columnType(int column) const {
    return sqlite3_column_type(stmt_, column);
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("COMMIT");
    open_ = false;
}

std::string quoteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

} // namespace rackbook
