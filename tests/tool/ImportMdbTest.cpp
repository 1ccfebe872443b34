// import-mdb on a real Access file (Jet 4, read in place): every value of
// the table carried exactly, the source untouched, and the refusals.
#include "TempFolder.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace rackbook::test;

namespace {

const std::string kSource = RACKBOOK_TESTDATA "/DateTestDatabase.mdb";

class ImportMdb : public ::testing::Test {
protected:
    void SetUp() override {
        struct stat info {};
        if (stat(kSource.c_str(), &info) != 0)
            GTEST_SKIP() << kSource << " is not there";
        sourceBefore_ = readFile(kSource);
        sourceTime_ = info.st_mtim;
    }
    void TearDown() override {
        if (sourceBefore_.empty())
            return;
        struct stat info {};
        ASSERT_EQ(stat(kSource.c_str(), &info), 0);
        EXPECT_EQ(readFile(kSource), sourceBefore_) << "the source file was changed";
        EXPECT_EQ(info.st_mtim.tv_sec, sourceTime_.tv_sec);
        EXPECT_EQ(info.st_mtim.tv_nsec, sourceTime_.tv_nsec);
    }

    TempFolder folder_;
    std::string sourceBefore_;
    timespec sourceTime_{};
};

TEST_F(ImportMdb, CarriesEveryValueOfDateTestExactly) {
    std::string target = folder_.file("dates.mdb");
    RunResult result = runInProcess({"import-mdb", kSource, target, "--table", "DateTest"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Imported 6 records and 6 columns of table DateTest"),
              std::string::npos)
        << result.out;

    EXPECT_EQ(query(target, "SELECT name || ' ' || type || ' ' || pk FROM "
                            "pragma_table_info('DateTest') ORDER BY cid"),
              (std::vector<Row>{{"IDCol LONG 0"},
                                {"DateTimeCol DATETIME 0"},
                                {"DateCol DATETIME 0"},
                                {"TimeCol DATETIME 0"},
                                {"LongTextCol LONGTEXT 0"},
                                {"ShortTextCol TEXT(255) 0"}}));
    // The stored day numbers are 44532, 2958101, -728, -363, 2, -463126,
    // -462760 and -462395; counted from 1899-12-30 on the proleptic
    // Gregorian calendar (Python's datetime agrees) they are these days.
    EXPECT_EQ(query(target,
                    "SELECT typeof(IDCol), IDCol, DateTimeCol, DateCol, TimeCol, LongTextCol, "
                    "ShortTextCol FROM DateTest ORDER BY IDCol"),
              (std::vector<Row>{{"integer", "1", "2021-12-02 00:00:00", "2021-12-02 00:00:00",
                                 "2021-12-02 00:00:00", "Hello", "Hello"},
                                {"integer", "2", "9999-01-01 00:00:00", "9999-01-01 00:00:00",
                                 "9999-01-01 00:00:00", "Year 9999", "Year 1999"},
                                {"integer", "3", "1898-01-01 00:00:00", "1899-01-01 00:00:00",
                                 "1900-01-01 00:00:00", "Pre-1900 years", "Pre-1900 years"},
                                {"integer", "4", "0632-01-01 00:00:00", "0633-01-01 00:00:00",
                                 "0634-01-01 00:00:00", "Pre-1000 years", "Pre-1000 years"},
                                {"integer", "5", "2021-12-02 00:00:00", "2021-12-02 00:00:00",
                                 "2021-12-02 00:00:00", "Escaped new line \\r\\n in field",
                                 "Escaped new line \\r\\n in field"},
                                {"integer", "6", "2021-12-02 00:00:00", "2021-12-02 00:00:00",
                                 "2021-12-02 00:00:00", "New line\r\nin field", "No new line"}}));
    EXPECT_EQ(queryValue(target, "PRAGMA journal_mode"), "delete");
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"dates.mdb"});
}

TEST_F(ImportMdb, SkipUnsupportedChangesNothingWhenAllColumnsCarry) {
    std::string target = folder_.file("dates.mdb");
    RunResult result =
        runInProcess({"import-mdb", kSource, target, "--table", "datetest", "--skip-unsupported"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find("Left out"), std::string::npos) << result.out;
    EXPECT_EQ(queryValue(target, "SELECT count(*) FROM DateTest"), "6");
}

TEST_F(ImportMdb, MissingTableIsNamedWithTheTablesThereAre) {
    RunResult result = runInProcess({"import-mdb", kSource, folder_.file("x.mdb")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("has no table StockTable (its tables: DateTest)"), std::string::npos)
        << result.err;
    EXPECT_TRUE(folder_.entries().empty());
}

TEST_F(ImportMdb, RefusesToOverwriteTheTarget) {
    std::string target = folder_.file("taken.mdb");
    writeFile(target, "keep me");
    RunResult result = runInProcess({"import-mdb", kSource, target, "--table", "DateTest"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("already exists"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(target), "keep me");
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"taken.mdb"});
}

TEST_F(ImportMdb, RefusesTheSourceAsTarget) {
    RunResult result = runInProcess({"import-mdb", kSource, kSource, "--table", "DateTest"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("already exists"), std::string::npos) << result.err;
}

TEST_F(ImportMdb, RefusesASourceThatIsNoAccessFile) {
    std::string notAccess = folder_.file("stock.mdb");
    ASSERT_EQ(runInProcess({"create", notAccess}).status, 0);
    RunResult result = runInProcess({"import-mdb", notAccess, folder_.file("x.mdb")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("is not a Microsoft Access (Jet) file"), std::string::npos)
        << result.err;
    RunResult missing =
        runInProcess({"import-mdb", folder_.file("none.mdb"), folder_.file("y.mdb")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.mdb"), std::string::npos) << missing.err;
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"stock.mdb"});
}

} // namespace
