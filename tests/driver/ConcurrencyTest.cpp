// Two processes on one database file: writers wait for each other's locks
// instead of failing, and nothing is lost.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

using namespace drivertest;

extern char** environ;

namespace {

pid_t spawnWriter(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::string program = DRIVER_TEST_WRITER;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int exitStatus(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(Concurrency, TwoProcessesInsertingIntoOneFileLoseNothing) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {});
    pid_t first = spawnWriter({"insert", db, "P", "150"});
    pid_t second = spawnWriter({"insert", db, "Q", "150"});
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(exitStatus(first), 0);
    EXPECT_EQ(exitStatus(second), 0);
    EXPECT_EQ(sqliteQuery(db, "SELECT Rack, count(*) FROM StockTable GROUP BY Rack ORDER BY Rack"),
              (Rows{{"P", "150"}, {"Q", "150"}}));
}

TEST(Concurrency, AWriterWaitsForAnotherProcessLock) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    const std::string ready = folder.file("ready");
    createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});
    pid_t holder = spawnWriter({"hold", db, ready, "1500"});
    ASSERT_GT(holder, 0);
    while (!std::filesystem::exists(ready))
        usleep(10000);

    Outcome outcome = runOnce(db, "UPDATE StockTable SET Strain='after' WHERE Index_ID='1_A_1'");
    EXPECT_TRUE(outcome.ok()) << outcome.state() << " " << outcome.message();
    EXPECT_EQ(exitStatus(holder), 0);
    // The holder's change committed first, then the waiting writer's.
    EXPECT_EQ(sqliteQuery(db, "SELECT Strain, Comments FROM StockTable"),
              (Rows{{"after", "held"}}));
}

} // namespace
