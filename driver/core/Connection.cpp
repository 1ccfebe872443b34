// The connection handle: one open database file, its transaction mode and the
// statements made on it.
#include "DatabaseFile.h"
#include "Handles.h"
#include "SqliteErrors.h"
#include "Trace.h"

#include <algorithm>

namespace mdblite {

Connection::Connection(Environment& environment) : environment_(environment) {
    traceAlloc("dbc", this);
}

Connection::~Connection() {
    disconnect();
    tag_ = HandleTag::Dead;
    traceFree("dbc", this);
}

Connection* Connection::from(SQLHANDLE handle) {
    auto* connection = static_cast<Connection*>(handle);
    if (!connection || connection->tag_ != HandleTag::Connection)
        return nullptr;
    return connection;
}

SQLRETURN Connection::connect(const std::string& path) {
    if (db_)
        return diag.error("08002", "Connection name in use (the connection is already open)");
    OpenResult opened = openDatabaseFile(path);
    if (!opened.db)
        return diag.error("08001", opened.error);
    db_ = opened.db;
    path_ = path;
    autocommit_ = true;
    return SQL_SUCCESS;
}

void Connection::disconnect() {
    statements_.clear();
    if (!db_)
        return;
    // Closing without a commit drops the unfinished transaction.
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    path_.clear();
}

Statement* Connection::allocStatement() {
    statements_.push_back(std::make_unique<Statement>(*this));
    return statements_.back().get();
}

void Connection::freeStatement(Statement* statement) {
    auto found = std::find_if(statements_.begin(), statements_.end(),
                              [&](const auto& owned) { return owned.get() == statement; });
    if (found != statements_.end())
        statements_.erase(found);
}

SQLRETURN Connection::beginIfManual(Diagnostics& target) {
    if (autocommit_ || !db_ || !sqlite3_get_autocommit(db_))
        return SQL_SUCCESS;
    int rc = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        reportSqliteError(db_, rc, SqlitePhase::Run, target);
        return SQL_ERROR;
    }
    return SQL_SUCCESS;
}

SQLRETURN Connection::endTransaction(bool commit) {
    if (!db_ || sqlite3_get_autocommit(db_))
        return SQL_SUCCESS;
    // Open cursors would keep a commit from finishing; ODBC lets it close them.
    for (auto& statement : statements_)
        statement->closeCursor();
    int rc = sqlite3_exec(db_, commit ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        reportSqliteError(db_, rc, SqlitePhase::Run, diag);
        return SQL_ERROR;
    }
    return SQL_SUCCESS;
}

SQLRETURN Connection::setAutocommit(bool on) {
    SQLRETURN rc = SQL_SUCCESS;
    if (on && !autocommit_)
        rc = endTransaction(true);
    if (rc == SQL_SUCCESS)
        autocommit_ = on;
    return rc;
}

} // namespace mdblite
