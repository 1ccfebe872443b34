// Paths that hold the characters of an ODBC connection string (';', '=',
// braces) or other unusual ones: the open sequence opens the file the path
// names, makes its backup beside it, and never reaches another file.
#include "FaultFiles.h"
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "db/DbConnection.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Texts = std::vector<std::string>;

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments TEXT";
const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', "
    "'first')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'BL21', '2005-01-01 00:00:00', "
    "'second')"};

struct HostilePath {
    const char* name;
    std::string tail; // appended to the test folder; a folder part is made
};

class HostilePaths : public ProgramTest, public ::testing::WithParamInterface<HostilePath> {};

TEST_P(HostilePaths, TheFileNamedIsOpenedAndNoOther) {
    const std::string decoy = makeDatabase(
        "decoy.mdb", kColumns,
        {"INSERT INTO StockTable VALUES ('D_D_D', 'D', 'D', 'D', 'decoy', '2001-01-01 00:00:00', "
         "'')"});
    const std::string decoyBytes = readBytes(decoy);
    std::string tail = GetParam().tail;
    for (std::string::size_type at; (at = tail.find("@DECOY@")) != std::string::npos;)
        tail.replace(at, 7, decoy);
    const std::string path = folder.path() + "/" + tail;
    fs::create_directories(fs::path(path).parent_path());
    createStockDatabase(path, kColumns, kRecords);

    openDatabase(path);
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2"}));
    EXPECT_EQ(readBytes(decoy), decoyBytes);
    EXPECT_TRUE(fs::exists(fs::path(path).parent_path() / "backup" / fs::path(path).filename()));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HostilePaths,
    ::testing::Values(HostilePath{"SecondDatabaseAttribute", "x;DBQ=@DECOY@"},
                      HostilePath{"DriverAttribute", "y;DRIVER={SQLite3};z.mdb"},
                      HostilePath{"Braces", "{a}}b}.mdb"}, HostilePath{"Blanks", " lab stock .mdb"},
                      HostilePath{"PercentAndUnderscore", "100%_stock.mdb"},
                      HostilePath{"Apostrophe", "O'Brien's.mdb"},
                      HostilePath{"InvalidUtf8", "\xff\xfe.mdb"},
                      HostilePath{"LineBreakAndTab", "two\nlines\t.mdb"},
                      HostilePath{"LongName", std::string(240, 'n') + ".mdb"}),
    [](const auto& info) { return std::string(info.param.name); });

// A path longer than the system takes names no file: each loading step that
// connects says so, and the backup is one line on standard error.
TEST_F(ProgramTest, APathTooLongForTheSystemGivesTheConnectionAlerts) {
    const std::string path = folder.path() + "/" + std::string(5000, 'x') + ".mdb";
    ::testing::internal::CaptureStderr();
    openDatabase(path);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        messages,
        (Texts{"SQLDriverConnect(connection to the database) \nError, in the set_column_names",
               "SQLDriverConnect(connection to the database) \nError, in the set_selectors",
               "SQLDriverConnect(connection to the database) \nError, in the checkState"}));
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(listedKeys(), Texts{});
}

// A path that holds no connection string character is written as it always
// was; one that does goes between braces.
TEST(ConnectionStringPaths, APathCannotAddAttributes) {
    struct Case {
        std::string path;
        std::string dbq;
    };
    const Case cases[] = {{"/data/stock.mdb", "/data/stock.mdb"},
                          {"/data/my stock=1.mdb", "/data/my stock=1.mdb"},
                          {"/a;DBQ=/b.mdb", "{/a;DBQ=/b.mdb}"},
                          {"/a{b.mdb", "{/a{b.mdb}"},
                          {"/a}b.mdb", "{/a}}b.mdb}"},
                          {"/x;DRIVER={SQLite3}", "{/x;DRIVER={SQLite3}}}"}};
    for (const Case& c : cases)
        EXPECT_EQ(connectionString(c.path),
                  "DBQ=" + c.dbq + ";DRIVER={Microsoft Access Driver (*.mdb)};");
}

} // namespace
