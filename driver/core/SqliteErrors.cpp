// SQLite errors as ODBC diagnostics. SQLite gives most SQL errors one code
// (SQLITE_ERROR), so the message tells an unknown table from an unknown column.
#include "SqliteErrors.h"

#include "Diagnostics.h"

#include <cstring>
#include <string>

namespace mdblite {

namespace {

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

const char* sqlstateFor(int extendedCode, const char* message, SqlitePhase phase) {
    switch (extendedCode & 0xff) {
    case SQLITE_CONSTRAINT:
        return "23000";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "HYT00";
    case SQLITE_NOMEM:
        return "HY001";
    case SQLITE_INTERRUPT:
        return "HY008";
    case SQLITE_TOOBIG:
        return "22001";
    case SQLITE_MISMATCH:
        return "22018";
    case SQLITE_RANGE:
        return "07009";
    case SQLITE_ERROR:
        break;
    default:
        return "HY000";
    }
    if (startsWith(message, "no such table"))
        return "42S02";
    if (startsWith(message, "no such column"))
        return "42S22";
    if (startsWith(message, "table ") && std::strstr(message, "already exists"))
        return "42S01";
    if (startsWith(message, "index ") && std::strstr(message, "already exists"))
        return "42S11";
    if (std::strstr(message, "has no column named"))
        return "42S22";
    // Every other error of preparing a statement is in its text.
    return phase == SqlitePhase::Prepare ? "42000" : "HY000";
}

void reportSqliteError(sqlite3* db, int rc, SqlitePhase phase, Diagnostics& diag) {
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    std::string cause = message;
    if ((rc & 0xff) == SQLITE_BUSY)
        cause += " (another connection kept the database file locked for too long)";
    diag.add(sqlstateFor(extended, message, phase), cause, extended);
}

} // namespace mdblite
