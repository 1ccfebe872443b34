// Opening a database file with the checks and settings of every connection.
#include "DatabaseFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace mdblite {

namespace {

constexpr char kSqliteMagic[] = "SQLite format 3"; // followed by a NUL in the file

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

OpenResult failure(std::string cause) {
    OpenResult result;
    result.error = std::move(cause);
    return result;
}

// Reads up to `size` leading bytes; returns how many were read, -1 when the file
// cannot be read.
long readHeader(const std::string& path, char* buffer, long size) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return -1;
    in.read(buffer, size);
    return static_cast<long>(in.gcount());
}

// Jet (Access 97-2003) and ACE (Access 2007+) files name their engine at byte 4.
bool isAccessHeader(const char* header, long length) {
    if (length < 19)
        return false;
    return std::memcmp(header + 4, "Standard Jet DB", 15) == 0 ||
           std::memcmp(header + 4, "Standard ACE DB", 15) == 0;
}

// Checks the file before SQLite sees it; an empty string when it may be opened.
std::string checkFile(const std::string& path) {
    if (path.empty())
        return "Cannot open the database: no file named (DBQ is empty)";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "Cannot open the database " + quoted(path) + ": the file does not exist";
        return "Cannot open the database " + quoted(path) + ": " + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode))
        return "Cannot open the database " + quoted(path) + ": it is a folder, not a file";
    if (!S_ISREG(info.st_mode))
        return "Cannot open the database " + quoted(path) + ": it is not a regular file";
    char header[100];
    long length = readHeader(path, header, sizeof header);
    if (length < 0)
        return "Cannot open the database " + quoted(path) + ": the file cannot be read (" +
               std::strerror(errno) + ")";
    if (isAccessHeader(header, length))
        return "Cannot open the database " + quoted(path) +
               ": it is a Microsoft Access (Jet) file, which this driver does not read; "
               "convert it into a database this driver opens with: rackbook-db import-mdb " +
               path + " NEW.mdb";
    if (length == 0)
        return "Cannot open the database " + quoted(path) + ": not a database (the file is empty)";
    if (length < 16 || std::memcmp(header, kSqliteMagic, sizeof kSqliteMagic) != 0)
        return "Cannot open the database " + quoted(path) +
               ": not a database (the file is not an SQLite database)";
    return {};
}

// Runs a statement whose result rows, if any, are not needed.
int execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

} // namespace

OpenResult openDatabaseFile(const std::string& path) {
    std::string problem = checkFile(path);
    if (!problem.empty())
        return failure(problem);

    sqlite3* db = nullptr;
    // The driver serialises the calls on a connection itself (one lock per ODBC
    // call rather than one per SQLite call).
    int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string cause = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        return failure("Cannot open the database " + quoted(path) + ": " + cause);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);

    // Reading the schema proves the file is a sound database; the pragmas set a
    // rollback journal (a plain copy of an idle file is a backup) and full sync.
    const char* setup[] = {"SELECT count(*) FROM sqlite_master", "PRAGMA journal_mode=DELETE",
                           "PRAGMA synchronous=FULL"};
    for (const char* sql : setup) {
        rc = execute(db, sql);
        if (rc != SQLITE_OK) {
            std::string cause = sqlite3_errmsg(db);
            if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT)
                cause = "not a database (" + cause + ")";
            sqlite3_close_v2(db);
            return failure("Cannot open the database " + quoted(path) + ": " + cause);
        }
    }
    OpenResult result;
    result.db = db;
    return result;
}

} // namespace mdblite
