// demo: the records' count, keys, spread and NULLs, and that a seed always
// gives the same file.
#include "TempFolder.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

using namespace rackbook::test;

namespace {

std::string makeDemo(const TempFolder& folder, const std::string& name, const std::string& n,
                     const std::string& seed) {
    std::string db = folder.file(name);
    RunResult result = runInProcess({"demo", db, "--records", n, "--seed", seed});
    EXPECT_EQ(result.status, 0) << result.err;
    return db;
}

TEST(Demo, KeysAreUniqueAndMadeFromThePlace) {
    TempFolder folder;
    std::string db = makeDemo(folder, "demo.mdb", "3000", "7");
    EXPECT_EQ(queryValue(db, "SELECT count(*) FROM StockTable"), "3000");
    EXPECT_EQ(queryValue(db, "SELECT count(DISTINCT Index_ID) FROM StockTable"), "3000");
    EXPECT_EQ(queryValue(db, "SELECT count(*) FROM StockTable WHERE Index_ID IS NOT "
                             "Rack || '_' || Box || '_' || Position"),
              "0");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"demo.mdb"});
}

TEST(Demo, LooksLikeACollection) {
    TempFolder folder;
    std::string db = makeDemo(folder, "demo.mdb", "3000", "7");
    // Several racks, boxes and positions, dates over several years, all at midnight.
    EXPECT_GE(std::stoi(queryValue(db, "SELECT count(DISTINCT Rack) FROM StockTable")), 3);
    EXPECT_EQ(queryValue(db, "SELECT count(DISTINCT Position) FROM StockTable"), "81");
    EXPECT_GE(
        std::stoi(queryValue(db, "SELECT count(DISTINCT substr(Dates_ID, 1, 4)) FROM StockTable")),
        5);
    EXPECT_EQ(queryValue(db, "SELECT count(*) FROM StockTable WHERE Dates_ID NOT GLOB "
                             "'[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] 00:00:00'"),
              "0");
    EXPECT_GE(std::stoi(queryValue(db, "SELECT count(DISTINCT Strain) FROM StockTable")), 10);
    EXPECT_NE(queryValue(db, "SELECT count(*) FROM StockTable WHERE Strain = 'E. coli BL21(DE3)'"),
              "0");
    // A few NULLs, but never in the key, the place or the date.
    EXPECT_NE(queryValue(db, "SELECT count(*) FROM StockTable WHERE Plasmid IS NULL"), "0");
    EXPECT_NE(queryValue(db, "SELECT count(*) FROM StockTable WHERE Comments IS NULL"), "0");
    EXPECT_EQ(queryValue(db, "SELECT count(*) FROM StockTable WHERE Rack IS NULL OR Box IS NULL "
                             "OR Position IS NULL OR Dates_ID IS NULL"),
              "0");
    // The program's save refuses apostrophes and slashes, so no demo value holds one.
    EXPECT_EQ(queryValue(db, "SELECT count(*) FROM StockTable WHERE "
                             "(Strain || ifnull(Plasmid, '') || ifnull(Subunit, '') || "
                             "ifnull(Mutation, '') || Antibiotic || ifnull(Comments, '')) "
                             "GLOB '*[''/]*'"),
              "0");
}

TEST(Demo, SameSeedSameFileOtherSeedOtherRecords) {
    TempFolder folder;
    std::string a = makeDemo(folder, "a.mdb", "500", "42");
    std::string b = makeDemo(folder, "b.mdb", "500", "42");
    std::string c = makeDemo(folder, "c.mdb", "500", "43");
    EXPECT_EQ(readFile(a), readFile(b));
    const char* all = "SELECT * FROM StockTable ORDER BY rowid";
    EXPECT_EQ(query(a, all), query(b, all));
    EXPECT_NE(query(a, all), query(c, all));
}

TEST(Demo, RefusesAnExistingFileAndBadCounts) {
    TempFolder folder;
    std::string db = folder.file("x.mdb");
    writeFile(db, "keep");
    EXPECT_EQ(runInProcess({"demo", db, "--records", "5"}).status, 1);
    EXPECT_EQ(readFile(db), "keep");
    for (const char* count : {"0", "-3", "ten", ""})
        EXPECT_EQ(runInProcess({"demo", folder.file("y.mdb"), "--records", count}).status, 2)
            << count;
    EXPECT_EQ(runInProcess({"demo", folder.file("y.mdb")}).status, 2);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"x.mdb"});
}

} // namespace
