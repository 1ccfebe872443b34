// Helper process for the concurrency tests.
//   driver_test_writer insert DB PREFIX COUNT
//       inserts COUNT records through the driver manager and the driver, one
//       connection per record as the program does; exit 0 when every insert
//       succeeded, else prints the diagnostic and exits 1.
//   driver_test_writer hold DB READYFILE MILLISECONDS
//       takes the database's exclusive lock with SQLite, creates READYFILE,
//       keeps the lock for MILLISECONDS, then commits.
#include "DriverTestSupport.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

using namespace drivertest;

namespace {

int insertRecords(const std::string& db, const std::string& prefix, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string key = prefix + "_" + std::to_string(i);
        Outcome outcome = runOnce(
            db, "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Dates_ID) VALUES "
                "('" +
                    key + "', '" + prefix + "', 'B', '" + std::to_string(i) + "', #2008-12-21#)");
        if (!outcome.ok()) {
            std::fprintf(stderr, "insert %s failed: %s %s\n", key.c_str(), outcome.state().c_str(),
                         outcome.message().c_str());
            return 1;
        }
    }
    return 0;
}

int holdLock(const std::string& db, const std::string& readyFile, int milliseconds) {
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    if (sqlite3_exec(handle, "BEGIN EXCLUSIVE; UPDATE StockTable SET Comments='held'", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
        return 1;
    writeFile(readyFile, "locked\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    int rc = sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    return rc == SQLITE_OK ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "insert")
        return insertRecords(argv[2], argv[3], std::atoi(argv[4]));
    if (argc == 5 && std::string(argv[1]) == "hold")
        return holdLock(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr, "usage: driver_test_writer insert DB PREFIX COUNT | hold DB READY MS\n");
    return 2;
}
