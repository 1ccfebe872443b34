// create: the table's layout as SQLite reports it, the dummy item, and the
// refusals that leave the folder as it was.
#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "schema/DateText.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace rackbook::test;

namespace {

// "name type notnull pk" for every column, in table order.
std::vector<std::string> tableInfo(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& row : query(path, "SELECT name, type, \"notnull\", pk FROM "
                                       "pragma_table_info('StockTable') ORDER BY cid"))
        out.push_back(*row[0] + " " + *row[1] + " " + *row[2] + " " + *row[3]);
    return out;
}

std::string todayText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d 00:00:00", &local);
    return text;
}

TEST(Create, DefaultLayoutWithOneDummyItem) {
    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    RunResult result = runInProcess({"create", db});
    ASSERT_EQ(result.status, 0) << result.err;

    EXPECT_EQ(tableInfo(db),
              (std::vector<std::string>{
                  "Index_ID TEXT(255) 1 1", "Rack TEXT 0 0", "Box TEXT 0 0", "Position TEXT 0 0",
                  "Strain TEXT 0 0", "Plasmid TEXT 0 0", "Subunit TEXT 0 0", "Mutation TEXT 0 0",
                  "Antibiotic TEXT 0 0", "Dates_ID DATETIME 0 0", "Comments TEXT 0 0"}));
    auto rows = query(db, "SELECT Index_ID, Rack || '_' || Box || '_' || Position, Strain, "
                          "Dates_ID, Comments FROM StockTable");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], rows[0][1]); // the key is made from the place
    EXPECT_EQ(*rows[0][0], "1_1_1");
    EXPECT_EQ(*rows[0][2], "dummy item");
    EXPECT_EQ(*rows[0][3], todayText());
    EXPECT_FALSE(rows[0][4].has_value());
    EXPECT_EQ(queryValue(db, "PRAGMA journal_mode"), "delete");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stock.mdb"}); // no temporary left
}

TEST(Create, ColumnsOptionGivesAnotherLayout) {
    TempFolder folder;
    std::string db = folder.file("custom.mdb");
    RunResult result = runInProcess(
        {"create", db, "--columns", "Index_ID,Shelf:INTEGER,Box,Slot,Name,Dates_ID,Notes:MEMO"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(tableInfo(db),
              (std::vector<std::string>{"Index_ID TEXT(255) 1 1", "Shelf INTEGER 0 0",
                                        "Box TEXT 0 0", "Slot TEXT 0 0", "Name TEXT 0 0",
                                        "Dates_ID DATETIME 0 0", "Notes LONGTEXT 0 0"}));
    EXPECT_EQ(queryValue(db, "SELECT Index_ID || '|' || typeof(Shelf) || '|' || Name FROM "
                             "StockTable"),
              "1_1_1|integer|dummy item");
}

TEST(Create, RefusesToOverwriteAnExistingFile) {
    TempFolder folder;
    std::string path = folder.file("precious.mdb");
    writeFile(path, "not to be lost");
    RunResult result = runInProcess({"create", path});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("already exists"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(path), "not to be lost");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"precious.mdb"});
}

TEST(Create, BadLayoutLeavesNoFile) {
    TempFolder folder;
    RunResult result =
        runInProcess({"create", folder.file("x.mdb"), "--columns", "Index_ID,Rack,Box,Dates_ID"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("three place columns"), std::string::npos) << result.err;
    EXPECT_TRUE(folder.entries().empty());
}

TEST(Create, FolderThatDoesNotExistFails) {
    TempFolder folder;
    RunResult result = runInProcess({"create", folder.file("missing/x.mdb")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("missing"), std::string::npos) << result.err;
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
