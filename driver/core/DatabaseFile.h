// Opening the SQLite file that a connection names with DBQ: checks that it is an
// existing database (never creates one), recognises Microsoft Access files, and
// sets the durability and locking behaviour every connection has.
#pragma once

#include <sqlite3.h>

#include <string>

namespace mdblite {

// Milliseconds a statement waits for another connection's lock before failing.
constexpr int kBusyTimeoutMs = 10000;

struct OpenResult {
    sqlite3* db = nullptr; // owned by the caller when set
    std::string error;     // the cause, naming the path, when db is null
};

// Opens `path` read-write. Fails (db null) for an empty path, a missing file, a
// folder, an unreadable file, a Microsoft Access file and anything that is not an
// SQLite database. The connection uses a rollback journal (journal_mode DELETE),
// synchronous FULL and a busy timeout of kBusyTimeoutMs.
OpenResult openDatabaseFile(const std::string& path);

} // namespace mdblite
