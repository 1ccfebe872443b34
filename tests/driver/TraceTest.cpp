// The trace file named by MDBLITE_TRACE: one line per handle allocated and
// freed and per statement run, so that a test of a client can check that no
// handle is left and which statements ran, after the driver is unloaded.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

using namespace drivertest;

namespace {

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});
        setenv("MDBLITE_TRACE", trace.c_str(), 1);
    }
    void TearDown() override { unsetenv("MDBLITE_TRACE"); }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    std::string trace = folder.file("trace.txt");
};

TEST_F(Trace, RecordsHandlesAndStatementsAsReceived) {
    {
        Connection connection;
        ASSERT_EQ(connection.open(db), SQL_SUCCESS);
        EXPECT_TRUE(run(connection, "SELECT MIN(Dates_ID) FROM StockTable").ok());
        EXPECT_FALSE(run(connection, "SELECT *\nFROM Missing").ok());
    }
    const std::vector<std::string> lines = readLines(trace);
    std::vector<std::string> execs;
    std::map<std::string, int> balance; // "kind id" -> allocs minus frees
    for (const std::string& line : lines) {
        if (line.rfind("exec ", 0) == 0) {
            execs.push_back(line.substr(5));
            continue;
        }
        const auto space = line.find(' ');
        ASSERT_NE(space, std::string::npos) << line;
        const std::string verb = line.substr(0, space);
        ASSERT_TRUE(verb == "alloc" || verb == "free") << line;
        balance[line.substr(space + 1)] += verb == "alloc" ? 1 : -1;
    }
    EXPECT_EQ(execs, (std::vector<std::string>{"SELECT MIN(Dates_ID) FROM StockTable",
                                               "SELECT *\\nFROM Missing"}));
    int statements = 0;
    for (const auto& [handle, count] : balance) {
        EXPECT_EQ(count, 0) << handle << " was not freed";
        statements += handle.rfind("stmt ", 0) == 0;
    }
    EXPECT_GE(statements, 1);
    EXPECT_EQ(lines.front().rfind("alloc env ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("free env ", 0), 0u);
}

TEST_F(Trace, AStatementLeftOpenIsFreedByDisconnect) {
    Connection connection;
    ASSERT_EQ(connection.open(db), SQL_SUCCESS);
    SQLHSTMT forgotten = SQL_NULL_HSTMT;
    ASSERT_EQ(SQLAllocHandle(SQL_HANDLE_STMT, connection.dbc(), &forgotten), SQL_SUCCESS);
    std::string sql = "SELECT * FROM StockTable";
    ASSERT_EQ(SQLExecDirect(forgotten, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS),
              SQL_SUCCESS);
    connection.close();

    int allocated = 0, freed = 0;
    for (const std::string& line : readLines(trace)) {
        allocated += line.rfind("alloc stmt ", 0) == 0;
        freed += line.rfind("free stmt ", 0) == 0;
    }
    EXPECT_EQ(allocated, 1);
    EXPECT_EQ(freed, 1);
}

TEST_F(Trace, AFailedConnectLeavesNoHandle) {
    {
        Connection connection;
        ASSERT_EQ(connection.open(folder.file("missing.mdb")), SQL_ERROR);
    }
    std::map<std::string, int> balance;
    for (const std::string& line : readLines(trace)) {
        const auto space = line.find(' ');
        balance[line.substr(space + 1)] += line.rfind("alloc ", 0) == 0 ? 1 : -1;
    }
    EXPECT_FALSE(balance.empty());
    for (const auto& [handle, count] : balance)
        EXPECT_EQ(count, 0) << handle << " was not freed";
}

} // namespace
