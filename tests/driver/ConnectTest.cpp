// Opening a database with DBQ: an existing SQLite file opens read-write; every
// other path fails with 08001 and a message naming the path and the reason, and
// no file is ever created.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace drivertest;

namespace {

constexpr char kJetFile[] = "/work/shared/testdata/DateTestDatabase.mdb";

struct RefusedPath {
    const char* name;
    std::function<std::string(const TempFolder&)> makePath;
    std::vector<std::string> messageFragments; // besides the path itself
};

std::string missing(const TempFolder& folder) {
    return folder.file("missing.mdb");
}

std::string emptyPath(const TempFolder&) {
    return "";
}

std::string aFolder(const TempFolder& folder) {
    std::filesystem::create_directory(folder.file("folder.mdb"));
    return folder.file("folder.mdb");
}

std::string textFile(const TempFolder& folder) {
    writeFile(folder.file("notes.mdb"), "Rack,Box\n1,A\nthis is not a database at all\n");
    return folder.file("notes.mdb");
}

std::string emptyFile(const TempFolder& folder) {
    writeFile(folder.file("empty.mdb"), "");
    return folder.file("empty.mdb");
}

std::string damagedDatabase(const TempFolder& folder) {
    std::string bytes("SQLite format 3\0", 16);
    bytes += std::string(4080, '\x5a');
    writeFile(folder.file("damaged.mdb"), bytes);
    return folder.file("damaged.mdb");
}

std::string missingFolder(const TempFolder& folder) {
    return folder.file("no/such/folder/stock.mdb");
}

std::string jetFile(const TempFolder&) {
    return kJetFile;
}

class ConnectRefusal : public ::testing::TestWithParam<RefusedPath> {};

TEST_P(ConnectRefusal, Fails08001NamingPathAndReason) {
    TempFolder folder;
    const std::string path = GetParam().makePath(folder);
    const bool existedBefore = std::filesystem::exists(path);

    Connection connection;
    EXPECT_EQ(connection.open(path), SQL_ERROR);
    auto diags = connection.diagnostics();
    ASSERT_FALSE(diags.empty());
    EXPECT_EQ(diags[0].state, "08001");
    const std::string& message = diags[0].message;
    if (!path.empty()) {
        EXPECT_NE(message.find(path), std::string::npos) << message;
    }
    for (const std::string& fragment : GetParam().messageFragments)
        EXPECT_NE(message.find(fragment), std::string::npos) << message;
    EXPECT_EQ(std::filesystem::exists(path), existedBefore) << "the connect created " << path;
}

INSTANTIATE_TEST_SUITE_P(
    Driver, ConnectRefusal,
    ::testing::Values(RefusedPath{"MissingFile", missing, {"does not exist"}},
                      RefusedPath{"MissingFolder", missingFolder, {"does not exist"}},
                      RefusedPath{"EmptyPath", emptyPath, {"DBQ is empty"}},
                      RefusedPath{"Folder", aFolder, {"folder"}},
                      RefusedPath{"TextFile", textFile, {"not a database"}},
                      RefusedPath{"EmptyFile", emptyFile, {"not a database", "empty"}},
                      RefusedPath{"DamagedDatabase", damagedDatabase, {"not a database"}},
                      RefusedPath{"AccessJetFile",
                                  jetFile,
                                  {"Microsoft Access", "rackbook-db import-mdb", "NEW.mdb"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Connect, OpensAnExistingDatabaseReadWrite) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});
    Connection connection;
    ASSERT_EQ(connection.open(db), SQL_SUCCESS) << connection.diagnostics().at(0).message;
    Outcome outcome = run(connection, "DELETE FROM StockTable");
    EXPECT_TRUE(outcome.ok()) << outcome.message();
    EXPECT_EQ(outcome.rowCount, 1);
}

TEST(Connect, TurnsAWriteAheadLogDatabaseIntoARollbackJournal) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});
    sqliteExec(db, "PRAGMA journal_mode=WAL");
    ASSERT_EQ(sqliteQuery(db, "PRAGMA journal_mode"), (Rows{{"wal"}}));
    {
        Connection connection;
        ASSERT_EQ(connection.open(db), SQL_SUCCESS);
        ASSERT_TRUE(run(connection, "DELETE FROM StockTable").ok());
    }
    EXPECT_EQ(sqliteQuery(db, "PRAGMA journal_mode"), (Rows{{"delete"}}));
    EXPECT_FALSE(std::filesystem::exists(db + "-wal"));
}

TEST(Connect, AcceptsTheDriverNameWithoutBracesAndReturnsTheConnectionString) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {});
    Connection connection;
    std::string text = "DRIVER=Microsoft Access Driver (*.mdb);DBQ=" + db;
    SQLCHAR out[1024];
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQLDriverConnect(connection.dbc(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                               SQL_NTS, out, sizeof out, &length, SQL_DRIVER_NOPROMPT),
              SQL_SUCCESS);
    EXPECT_NE(std::string(reinterpret_cast<char*>(out)).find("DBQ=" + db), std::string::npos);
    SQLDisconnect(connection.dbc());
}

} // namespace
