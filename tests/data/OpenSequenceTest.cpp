// Opening a database from end to end on real files through the driver
// manager and the project's driver: columns, captions, selector items, date
// range, listing, widths, the empty edit row and the backup copy.
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "db/ColumnDiscovery.h"
#include "db/Selectors.h"
#include "edit/SaveRecord.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include <fstream>
#include <sstream>

namespace {

const char* const kSixColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                                "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments MEMO";

const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R2_A_3', 'R2', 'A', '3', 'del_1', '2009-01-02 00:00:00', "
    "'third')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'O''Brien', '2005-01-01 00:00:00', "
    "NULL)",
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', "
    "'first')",
    "INSERT INTO StockTable VALUES ('R2_A/B_4', 'R2', 'A/B', '4', NULL, '2006-06-06 12:30:00', "
    "'slash box')",
    "INSERT INTO StockTable VALUES ('R3_C_5', 'R3', 'C', '5', '100%', NULL, 'no date')",
};

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class OpenSequence : public ProgramTest {};

TEST_F(OpenSequence, LoadsEveryWidgetFromTheDatabase) {
    const std::string path = makeDatabase("stock.mdb", kSixColumns, kRecords);
    openDatabase(path);

    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_EQ(takeStdout(), path + "\n");

    const std::vector<std::string> names = {"Index_ID", "Rack",     "Box",     "Position",
                                            "Strain",   "Dates_ID", "Comments"};
    EXPECT_EQ(appState.columnNames, names);
    EXPECT_EQ(appState.columnCount, 7);
    EXPECT_EQ(menuItems(*appState.searchFieldChoice), names);
    EXPECT_EQ(appState.searchFieldChoice->value(), -1);

    const char* captions[] = {"Rack", "Box", "Position", "Strain", "None", "None", "None", "None"};
    for (int k = 0; k < kSelectorCount; ++k) {
        EXPECT_STREQ(appState.selectorCaptions[k]->value(), captions[k]) << k;
        EXPECT_EQ(appState.selectors[k]->active() != 0, k < 4) << k;
    }
    using Items = std::vector<std::string>;
    EXPECT_EQ(menuItems(*appState.selectors[0]), (Items{"*", "R1", "R2", "R3"}));
    EXPECT_EQ(menuItems(*appState.selectors[1]), (Items{"*", "A", "A/B", "B", "C"}));
    EXPECT_EQ(menuItems(*appState.selectors[2]), (Items{"*", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(menuItems(*appState.selectors[3]), (Items{"*", "100%", "K12", "O'Brien", "del_1"}));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(appState.selectors[k]->value(), 0) << k;

    EXPECT_STREQ(appState.startDateInput->value(), "2003-05-17");
    EXPECT_STREQ(appState.endDateInput->value(), "2009-01-02");

    // Every record with a date is listed; NULL reads as the empty text and a
    // date as its first 10 characters.
    EXPECT_EQ(listedKeys(), (Items{"R1_A_1", "R1_B_2", "R2_A/B_4", "R2_A_3"}));
    for (const auto& row : listedRows()) {
        if (row[0] == "R2_A/B_4") {
            EXPECT_EQ(row, (Items{"R2_A/B_4", "R2", "A/B", "4", "", "2006-06-06", "slash box"}));
        } else if (row[0] == "R1_B_2") {
            EXPECT_EQ(row, (Items{"R1_B_2", "R1", "B", "2", "O'Brien", "2005-01-01", ""}));
        }
    }
    MyTable& table = *appState.mainTable;
    EXPECT_EQ(table.rows(), 4);
    for (int r = 0; r < table.rows(); ++r)
        EXPECT_EQ(table.row_height(r), 19) << r;
    ASSERT_EQ(table.cols(), 7);
    for (int c = 0; c < 7; ++c)
        EXPECT_GE(table.col_width(c), 3 + 8 * static_cast<int>(names[c].size())) << c;

    // The edit row is empty, one cell per column, 70 pixels each.
    SingleInput& edit = *appState.editTable;
    EXPECT_EQ(edit.rows(), 1);
    EXPECT_EQ(edit.cols(), 7);
    EXPECT_EQ(editRow(7), Items(7, ""));
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(edit.col_width(c), 70) << c;

    EXPECT_EQ(fileContent(folder.path() + "/backup/stock.mdb"), fileContent(path));
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(OpenSequence, StatementsRunInTheirOrder) {
    const std::string path = makeDatabase("stock.mdb", kSixColumns, kRecords);
    openDatabase(path);
    const std::vector<std::string> expected = {
        "SELECT DISTINCT Rack FROM StockTable ORDER BY Rack",
        "SELECT DISTINCT Box FROM StockTable ORDER BY Box",
        "SELECT DISTINCT Position FROM StockTable ORDER BY Position",
        "SELECT DISTINCT Strain FROM StockTable ORDER BY Strain",
        "SELECT MIN(Dates_ID) FROM StockTable",
        "SELECT MAX(Dates_ID) FROM StockTable",
        "SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2009-01-02#",
    };
    EXPECT_EQ(executedStatements(), expected);

    // Three connections, one after the other, each released before the next
    // one opens: column discovery, selector population, the listing.
    using Events = std::vector<std::string>;
    const Events open = {"alloc env", "alloc dbc", "alloc stmt"};
    const Events release = {"free stmt", "free dbc", "free env"};
    Events events;
    auto connection = [&](const Events& statements) {
        events.insert(events.end(), open.begin(), open.end());
        for (const std::string& statement : statements)
            events.push_back("exec " + statement);
        events.insert(events.end(), release.begin(), release.end());
    };
    connection({});
    connection(Events(expected.begin(), expected.end() - 1));
    connection({expected.back()});
    EXPECT_EQ(traceEvents(), events);
}

TEST_F(OpenSequence, EightColumnsBeforeTheDateFillEverySelector) {
    const std::string path = makeDatabase(
        "full.mdb", kStandardColumns,
        {"INSERT INTO StockTable VALUES ('1_2_3', '1', '2', '3', 's', 'p', 'u', 'm', 'a', "
         "'2001-02-03 00:00:00', 'c')"});
    openDatabase(path);
    const char* captions[] = {"Rack",    "Box",     "Position", "Strain",
                              "Plasmid", "Subunit", "Mutation", "Antibiotic"};
    for (int k = 0; k < kSelectorCount; ++k) {
        EXPECT_STREQ(appState.selectorCaptions[k]->value(), captions[k]) << k;
        EXPECT_TRUE(appState.selectors[k]->active()) << k;
        EXPECT_EQ(menuItems(*appState.selectors[k]).size(), 2u) << k;
    }
    EXPECT_EQ(listedKeys(), std::vector<std::string>{"1_2_3"});
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OpenSequence, DatesFirstSwitchesEverySelectorOff) {
    const std::string path =
        makeDatabase("dates.mdb", "Index_ID TEXT PRIMARY KEY, Dates_ID DATETIME, Rack TEXT",
                     {"INSERT INTO StockTable VALUES ('k', '2001-01-01 00:00:00', 'r')"});
    openDatabase(path);
    for (int k = 0; k < kSelectorCount; ++k) {
        EXPECT_STREQ(appState.selectorCaptions[k]->value(), "None") << k;
        EXPECT_FALSE(appState.selectors[k]->active()) << k;
    }
    EXPECT_EQ(executedStatements(), (std::vector<std::string>{
                                        "SELECT MIN(Dates_ID) FROM StockTable",
                                        "SELECT MAX(Dates_ID) FROM StockTable",
                                        "SELECT * from StockTable WHERE Dates_ID between "
                                        "#2001-01-01# and #2001-01-01#",
                                    }));
    EXPECT_EQ(listedKeys(), std::vector<std::string>{"k"});
}

TEST_F(OpenSequence, AwkwardValuesAndNamesStayWhole) {
    const std::string path = makeDatabase(
        "odd.mdb",
        "Index_ID TEXT PRIMARY KEY, [Cell line] TEXT, [Order] TEXT, Box TEXT, Dates_ID DATETIME",
        {"INSERT INTO StockTable VALUES ('1', 'A/B', '_x', 'R&D', '2001-01-01 00:00:00')",
         "INSERT INTO StockTable VALUES ('2', 'a|b', 'back\\slash', '', '2001-01-02 00:00:00')"});
    openDatabase(path);
    EXPECT_EQ(messages, std::vector<std::string>{});
    using Items = std::vector<std::string>;
    EXPECT_STREQ(appState.selectorCaptions[0]->value(), "Cell line");
    EXPECT_STREQ(appState.selectorCaptions[1]->value(), "Order");
    EXPECT_EQ(menuItems(*appState.selectors[0]), (Items{"*", "A/B", "a|b"}));
    EXPECT_EQ(menuItems(*appState.selectors[1]), (Items{"*", "_x", "back\\slash"}));
    EXPECT_EQ(menuItems(*appState.selectors[2]), (Items{"*", "", "R&D"}));
    EXPECT_EQ(firstStatement(), "SELECT DISTINCT [Cell line] FROM StockTable ORDER BY [Cell line]");

    // Filtering by each of them finds its record.
    appState.selectors[0]->value(1);
    appState.selectors[2]->value(2);
    checkState();
    EXPECT_EQ(listedKeys(), Items{"1"});
    appState.selectors[0]->value(0);
    appState.selectors[1]->value(2);
    appState.selectors[2]->value(1);
    checkState();
    EXPECT_EQ(listedKeys(), Items{"2"});
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OpenSequence, AFailedBackupIsOneLineOnStandardErrorAndLoadingGoesOn) {
    const std::string path = makeDatabase("stock.mdb", kSixColumns, kRecords);
    std::ofstream(folder.path() + "/backup") << "a file where the folder should be";
    ::testing::internal::CaptureStderr();
    openDatabase(path);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("backup"), std::string::npos) << errors;
    EXPECT_EQ(listedKeys().size(), 4u);
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OpenSequence, ALongColumnNameArrivesCutTo63Characters) {
    const std::string longName(70, 'c');
    const std::string path = makeDatabase(
        "long.mdb",
        "Index_ID TEXT PRIMARY KEY, Rack TEXT, Dates_ID DATETIME, " + longName + " TEXT",
        {"INSERT INTO StockTable VALUES ('k', 'r', '2001-01-01 00:00:00', 'long')"});
    openDatabase(path);
    ASSERT_EQ(appState.columnNames.size(), 4u);
    EXPECT_EQ(appState.columnNames[3], longName.substr(0, 63));
    EXPECT_EQ(listedRows(),
              (std::vector<std::vector<std::string>>{{"k", "r", "2001-01-01", "long"}}));
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OpenSequence, ATableWithoutDatesIdKeepsTheLaterSelectorsAndCannotBeSaved) {
    openDatabase(makeDatabase("stock.mdb", kSixColumns, kRecords));
    messages.clear();
    const std::string path = makeDatabase(
        "nodate.mdb", "Index_ID TEXT PRIMARY KEY, Rack TEXT, Box TEXT, Position TEXT, Strain TEXT",
        {"INSERT INTO StockTable VALUES ('1_2_3', '1', '2', '3', 's')"});
    openDatabase(path);
    // Columns 1 to 4 get their selectors; the others keep what they had.
    const char* captions[] = {"Rack", "Box", "Position", "Strain", "None", "None", "None", "None"};
    for (int k = 0; k < kSelectorCount; ++k) {
        EXPECT_STREQ(appState.selectorCaptions[k]->value(), captions[k]) << k;
        EXPECT_EQ(appState.selectors[k]->active() != 0, k < 4) << k;
    }
    EXPECT_EQ(menuItems(*appState.selectors[3]), (std::vector<std::string>{"*", "s"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"Error SQLExecDirect(), setting the MinDates\n",
                                                  "Error SQLExecDirect()\nin checkState()"}));
    EXPECT_EQ(liveHandles(), 0);

    // The save refuses rather than checking the key column as a date.
    messages.clear();
    const std::vector<Row> before = stockRows(path);
    for (int c = 0; c < 5; ++c)
        appState.editTable->setCell(0, c, c == 0 ? "" : "x");
    updateItem();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no Dates_ID column"), std::string::npos) << messages[0];
    EXPECT_EQ(stockRows(path), before);
}

TEST_F(OpenSequence, ALongValueIsListedCutTo255Characters) {
    const std::string longText(300, 'v');
    const std::string path =
        makeDatabase("longvalue.mdb", kSixColumns,
                     {"INSERT INTO StockTable VALUES ('k', 'r', 'b', 'p', 's', "
                      "'2001-01-01 00:00:00', '" +
                      longText + "')"});
    openDatabase(path);
    ASSERT_EQ(listedRows().size(), 1u);
    EXPECT_EQ(listedRows()[0][6], longText.substr(0, 255));
    EXPECT_EQ(messages, std::vector<std::string>{});
}

TEST_F(OpenSequence, ReopenPutsEverySelectorBackOnItsFirstItem) {
    const std::string path = makeDatabase("stock.mdb", kSixColumns, kRecords);
    openDatabase(path);
    appState.selectors[0]->value(2);
    appState.startDateInput->value("2004-01-01");
    openDatabase(path);
    EXPECT_EQ(appState.selectors[0]->value(), 0);
    EXPECT_STREQ(appState.startDateInput->value(), "2003-05-17");
    EXPECT_EQ(listedKeys().size(), 4u);
}

TEST_F(OpenSequence, APathThatIsNoDatabaseGivesThreeAlerts) {
    const std::string missing = folder.path() + "/absent.mdb";
    const std::string notes = folder.path() + "/notes.mdb";
    std::ofstream(notes) << "these are notes, not a database\n";
    const std::vector<std::string> expected = {
        "SQLDriverConnect(connection to the database) \nError, in the set_column_names",
        "SQLDriverConnect(connection to the database) \nError, in the set_selectors",
        "SQLDriverConnect(connection to the database) \nError, in the checkState",
    };
    for (const std::string& path : {missing, notes, std::string()}) {
        messages.clear();
        ::testing::internal::CaptureStderr();
        openDatabase(path);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(messages, expected) << path;
        EXPECT_EQ(appState.columnNames, std::vector<std::string>{}) << path;
        EXPECT_EQ(appState.mainTable->rows(), 0) << path;
    }
    EXPECT_EQ(takeStdout(), missing + "\n" + notes + "\n\n");
    EXPECT_EQ(liveHandles(), 0);
    // The driver never creates a file, and the notes stay as they were.
    EXPECT_FALSE(std::ifstream(missing).good());
    EXPECT_EQ(fileContent(notes), "these are notes, not a database\n");
}

} // namespace
