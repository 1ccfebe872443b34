// Turning SQLite result codes and messages into ODBC diagnostics.
#pragma once

#include <sqlite3.h>

namespace mdblite {

class Diagnostics;

enum class SqlitePhase { Prepare, Run };

// Adds the diagnostic record for SQLite result `rc` met while preparing or
// running a statement on `db`, with SQLite's message as the cause.
void reportSqliteError(sqlite3* db, int rc, SqlitePhase phase, Diagnostics& diag);

// The SQLSTATE for a result code and message.
const char* sqlstateFor(int extendedCode, const char* message, SqlitePhase phase);

} // namespace mdblite
