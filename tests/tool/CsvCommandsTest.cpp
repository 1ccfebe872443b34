// import-csv and export-csv on real files: the round trip, the exact text of
// an export, and the refusals of an import, which leave the table as it was.
#include "TempFolder.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

using namespace rackbook::test;

namespace {

const std::string kHeader =
    "Index_ID,Rack,Box,Position,Strain,Plasmid,Subunit,Mutation,Antibiotic,Dates_ID,Comments\r\n";

std::string createDefault(const TempFolder& folder, const std::string& name) {
    std::string db = folder.file(name);
    RunResult result = runInProcess({"create", db});
    EXPECT_EQ(result.status, 0) << result.err;
    return db;
}

TEST(CsvRoundTrip, ExportImportExportIsIdentical) {
    TempFolder folder;
    std::string demo = folder.file("demo.mdb");
    ASSERT_EQ(runInProcess({"demo", demo, "--records", "2000", "--seed", "5"}).status, 0);
    std::string first = folder.file("first.csv");
    RunResult exported = runInProcess({"export-csv", demo, first});
    ASSERT_EQ(exported.status, 0) << exported.err;

    std::string fresh = createDefault(folder, "fresh.mdb");
    RunResult imported = runInProcess({"import-csv", fresh, first, "--replace"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("Imported 2000 records"), std::string::npos) << imported.out;

    std::string second = folder.file("second.csv");
    ASSERT_EQ(runInProcess({"export-csv", fresh, second}).status, 0);
    EXPECT_EQ(readFile(first), readFile(second));
    const char* all = "SELECT * FROM StockTable ORDER BY rowid";
    EXPECT_EQ(query(demo, all), query(fresh, all));
    // To standard output, the same text.
    EXPECT_EQ(runInProcess({"export-csv", fresh}).out, readFile(first));
    EXPECT_EQ(runInProcess({"export-csv", fresh, "-"}).out, readFile(first));
}

TEST(CsvRoundTrip, HardValuesSurviveExactly) {
    TempFolder folder;
    std::string db = folder.file("typed.mdb");
    ASSERT_EQ(runInProcess({"create", db, "--columns",
                            "Index_ID,Rack,Box,Position,Count:INTEGER,Mass:DOUBLE,Ok:YESNO,"
                            "Dates_ID,Notes:MEMO"})
                  .status,
              0);
    // LF line ends, a date with a time, NULL and empty text, a multi-line memo
    // with quotes and commas, yes/no words.
    std::string csv = "index_id,RACK,Box,Position,Count,Mass,Ok,Dates_ID,Notes\n"
                      "A_1_x,A,1,x,7,0.1,yes,1750-03-01,\"two\nlines, \"\"quoted\"\"\"\n"
                      "A_1_y,A,1,y,,,false,2008-12-14 13:45:10,\"\"\n"
                      "A_1_z,A,1,z,-3,2.5e3,1,,\n";
    writeFile(folder.file("in.csv"), csv);
    RunResult imported = runInProcess({"import-csv", db, folder.file("in.csv"), "--replace"});
    ASSERT_EQ(imported.status, 0) << imported.err;

    EXPECT_EQ(query(db, "SELECT Index_ID, typeof(Count), typeof(Mass), Ok, Dates_ID, Notes "
                        "FROM StockTable ORDER BY rowid"),
              (std::vector<Row>{{"A_1_x", "integer", "real", "1", "1750-03-01 00:00:00",
                                 "two\nlines, \"quoted\""},
                                {"A_1_y", "null", "null", "0", "2008-12-14 13:45:10", ""},
                                {"A_1_z", "integer", "real", "1", std::nullopt, std::nullopt}}));
    EXPECT_EQ(runInProcess({"export-csv", db}).out,
              "Index_ID,Rack,Box,Position,Count,Mass,Ok,Dates_ID,Notes\r\n"
              "A_1_x,A,1,x,7,0.1,1,1750-03-01,\"two\nlines, \"\"quoted\"\"\"\r\n"
              "A_1_y,A,1,y,,,0,2008-12-14 13:45:10,\"\"\r\n"
              "A_1_z,A,1,z,-3,2500,1,,\r\n");
}

TEST(CsvImport, AddsToTheRecordsAlreadyThere) {
    TempFolder folder;
    std::string db = createDefault(folder, "stock.mdb");
    writeFile(folder.file("in.csv"),
              std::string(kHeader) + "2_1_A1,2,1,A1,DH5alpha,pUC19,,,Amp,2008-01-02,\r\n");
    ASSERT_EQ(runInProcess({"import-csv", db, folder.file("in.csv")}).status, 0);
    EXPECT_EQ(query(db, "SELECT Index_ID FROM StockTable ORDER BY rowid"),
              (std::vector<Row>{{"1_1_1"}, {"2_1_A1"}}));
}

struct RefusalCase {
    const char* name;
    std::string csv;
    std::string message; // a part of the error message
    bool replace = false;
};

class CsvImportRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CsvImportRefusal, NamesTheFaultAndWritesNothing) {
    TempFolder folder;
    std::string db = createDefault(folder, "stock.mdb");
    std::string before = readFile(db);
    std::string csvPath = folder.file("in.csv");
    writeFile(csvPath, GetParam().csv);
    std::vector<std::string> args = {"import-csv", db, csvPath};
    if (GetParam().replace)
        args.push_back("--replace");

    RunResult result = runInProcess(args);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_EQ(query(db, "SELECT Index_ID FROM StockTable"), (std::vector<Row>{{"1_1_1"}}));
    EXPECT_EQ(readFile(db), before);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.csv", "stock.mdb"}));
}

const std::string kGood = "2_1_A1,2,1,A1,DH5alpha,pUC19,,,Amp,2008-01-02,\r\n"
                          "2_1_A2,2,1,A2,DH5alpha,pUC19,,,Amp,2008-01-03,\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvImportRefusal,
    ::testing::Values(
        RefusalCase{"WrongName",
                    "Index_ID,Rack,Boxes,Position,Strain,Plasmid,Subunit,Mutation,Antibiotic,"
                    "Dates_ID,Comments\n",
                    "line 1: header column 3 is \"Boxes\" where the table has Box"},
        RefusalCase{"WrongOrder",
                    "Index_ID,Box,Rack,Position,Strain,Plasmid,Subunit,Mutation,Antibiotic,"
                    "Dates_ID,Comments\n",
                    "header column 2 is \"Box\" where the table has Rack"},
        RefusalCase{"MissingColumn",
                    "Index_ID,Rack,Box,Position,Strain,Plasmid,Subunit,Mutation,Antibiotic,"
                    "Dates_ID\n",
                    "the header has 10 columns, the table 11 (Comments is missing)"},
        RefusalCase{"ExtraColumn",
                    "Index_ID,Rack,Box,Position,Strain,Plasmid,Subunit,Mutation,Antibiotic,"
                    "Dates_ID,Comments,Owner\n",
                    "(\"Owner\" is extra)"},
        RefusalCase{"EmptyFile", "", "is empty"},
        RefusalCase{"ImpossibleDate",
                    kHeader + kGood + "2_1_A3,2,1,A3,x,,,,,2008-02-30,\r\n" + kGood,
                    "line 4: Dates_ID: \"2008-02-30\" is not a date"},
        RefusalCase{"DateInOtherShape", kHeader + kGood + "2_1_A3,2,1,A3,x,,,,,12/14/2008,\r\n",
                    "line 4: Dates_ID"},
        RefusalCase{"LineCountsEmbeddedBreaks",
                    kHeader + "2_1_A1,2,1,A1,x,,,,,2008-01-01,\"a\nb\nc\"\r\n" +
                        "2_1_A2,2,1,A2,x,,,,,2008x12y21,\r\n",
                    "line 5: Dates_ID"},
        RefusalCase{"TooFewFields", kHeader + kGood + "2_1_A3,2,1,A3\r\n",
                    "line 4: the record has 4 fields, the header 11"},
        RefusalCase{"EmptyKey", kHeader + ",2,1,A3,x,,,,,2008-01-01,\r\n",
                    "line 2: Index_ID is empty"},
        RefusalCase{"DuplicateInFile", kHeader + kGood + kGood,
                    "line 4: the key \"2_1_A1\" is already in the table"},
        RefusalCase{"KeyAlreadyThere", kHeader + "1_1_1,1,1,1,x,,,,,2008-01-01,\r\n",
                    "line 2: the key \"1_1_1\" is already in the table"},
        RefusalCase{"UnterminatedQuote", kHeader + kGood + "2_1_A3,2,1,A3,\"open,,,,,,\r\n",
                    "line 4: a quoted field is not closed"},
        RefusalCase{"ReplaceIsUndoneToo", kHeader + kGood + "2_1_A3,2,1,A3,x,,,,,2008-13-01,\r\n",
                    "line 4: Dates_ID", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvExport, RefusesToOverwriteAFile) {
    TempFolder folder;
    std::string db = createDefault(folder, "stock.mdb");
    writeFile(folder.file("out.csv"), "mine");
    RunResult result = runInProcess({"export-csv", db, folder.file("out.csv")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("already exists"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(folder.file("out.csv")), "mine");
}

TEST(CsvCommands, NeverCreateAMissingDatabase) {
    TempFolder folder;
    writeFile(folder.file("in.csv"), kHeader);
    RunResult imported =
        runInProcess({"import-csv", folder.file("none.mdb"), folder.file("in.csv")});
    EXPECT_EQ(imported.status, 1);
    EXPECT_NE(imported.err.find("none.mdb"), std::string::npos) << imported.err;
    RunResult exported = runInProcess({"export-csv", folder.file("none.mdb")});
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.csv"});
}

TEST(CsvCommands, RefuseADatabaseWithoutStockTable) {
    TempFolder folder;
    std::string db = folder.file("empty.mdb");
    writeFile(db, ""); // SQLite reads an empty file as a database without tables
    RunResult result = runInProcess({"export-csv", db});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("has no table StockTable"), std::string::npos) << result.err;
}

} // namespace
