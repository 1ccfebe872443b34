// The save on real database files through the driver: the checks and their
// messages, the statements with their progress lines, the place rules, the
// refreshed date range, and what a refused save leaves (the table read back
// unchanged).
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "edit/EditRow.h"
#include "edit/SaveRecord.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Input.H>

#include <cstdio>

namespace {

using Texts = std::vector<std::string>;

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments MEMO";

const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', "
    "'first')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'MG1655', '2005-01-01 00:00:00', "
    "NULL)",
    "INSERT INTO StockTable VALUES ('R2_A_3', 'R2', 'A', '3', 'BL21', '2009-01-02 00:00:00', "
    "'third')",
};

const char* const kProgress =
    "update 01\nupdate 02\nupdate 03\nupdate 04\nupdate 05\nupdate 06\nupdate 07\nupdate "
    "08\nupdate 09\n";

class Save : public EditingTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openStock(kColumns, kRecords);
    }

    // Fills the edit row as the user would have typed it.
    void setEditRow(const Texts& texts) {
        for (size_t c = 0; c < texts.size(); ++c)
            appState.editTable->setCell(0, static_cast<int>(c), texts[c]);
    }

    Texts statementsSinceOpen() const { return executedStatements(); }
};

struct RefusedRow {
    const char* what;
    Texts row;
    std::string message;
};

// Each row is refused before anything is opened or written.
TEST_F(Save, RowsRefusedByTheChecks) {
    const std::string year =
        "Error!\nPlease check Year (1800-2500) in the Dates_ID field\nFormat: YYYY-MM-DD";
    const std::string month =
        "Error!\nPlease check Month in the Dates_ID field\nFormat: YYYY-MM-DD";
    const std::string day = "Error!\nPlease check Day in the Dates_ID field\nFormat: YYYY-MM-DD";
    const std::string form = "Error!\nPlease check the Dates_ID field\nFormat: YYYY-MM-DD";
    const RefusedRow cases[] = {
        {"year 1799", {"", "R5", "A", "1", "x", "1799-12-31", ""}, year},
        {"year 2501", {"", "R5", "A", "1", "x", "2501-01-01", ""}, year},
        {"month 00", {"", "R5", "A", "1", "x", "2008-00-10", ""}, month},
        {"month 13", {"", "R5", "A", "1", "x", "2008-13-10", ""}, month},
        {"day 00", {"", "R5", "A", "1", "x", "2008-12-00", ""}, day},
        {"day 32", {"", "R5", "A", "1", "x", "2008-12-32", ""}, day},
        {"day first", {"", "R5", "A", "1", "x", "21-12-2008", ""}, year},
        {"9 characters", {"", "R5", "A", "1", "x", "2008-12-2", ""}, form},
        {"with a time", {"", "R5", "A", "1", "x", "2008-12-21 10:00", ""}, form},
        {"leading blank", {"", "R5", "A", "1", "x", " 2008-1-05", ""}, year},
        {"slash",
         {"", "R5", "A", "1", "x", "2008/12/21", ""},
         "Error!\nPlease don't use '/'-slashes"},
        {"apostrophe in a comment",
         {"", "R5", "A", "1", "x", "", "don't"},
         "Error!\nPlease don't use ' -apostrophe"},
        {"apostrophe in column 2 before a slash in column 5",
         {"", "R5", "A'", "1", "x", "2008/12/21", ""},
         "Error!\nPlease don't use ' -apostrophe"},
        {"bad date before an empty place", {"", "", "", "", "x", "2008-13-01", ""}, month},
    };
    for (const RefusedRow& c : cases) {
        messages.clear();
        setEditRow(c.row);
        updateItem();
        EXPECT_EQ(messages, Texts{c.message}) << c.what;
        EXPECT_EQ(takeStdout(), "") << c.what;
    }
    EXPECT_EQ(statementsSinceOpen(), Texts{});
    EXPECT_EQ(liveHandles(), 0);
    EXPECT_EQ(stockRows(path), before);
}

TEST_F(Save, AnEmptyPlaceIsRefusedOnceTheConnectionIsOpen) {
    setEditRow({"", "R5", "", "1", "x", "", ""});
    updateItem();
    EXPECT_EQ(messages,
              Texts{"Error!\nPlease fill all three first fields \n(Rack, Box, Position)!"});
    EXPECT_EQ(takeStdout(), "update 01\nupdate 02\nupdate 03\nupdate 04\nupdate 05\nupdate 06\n");
    EXPECT_EQ(statementsSinceOpen(), Texts{});
    EXPECT_EQ(liveHandles(), 0);
    EXPECT_EQ(stockRows(path), before);
}

TEST_F(Save, AConnectionFailureComesBeforeTheEmptyPlace) {
    ASSERT_EQ(std::remove(path.c_str()), 0);
    setEditRow({"", "", "", "", "x", "", ""});
    updateItem();
    EXPECT_EQ(messages, Texts{"SQLDriverConnect(connection to the database) \nError, in the "
                              "update fcn"});
    EXPECT_EQ(takeStdout(), "update 01\nupdate 02\nupdate 03\nupdate 04\n");
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, ANewItemIsInsertedOnceAndThenTheSamePlaceIsOccupied) {
    newItem();
    setEditRow({"", "R9", "B9", "P9", "E. coli K12", "", ""});
    updateItem();
    EXPECT_EQ(messages, Texts{});
    const std::string insert = "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, "
                               "Dates_ID, Comments) VALUES ('R9_B9_P9', 'R9', 'B9', 'P9', "
                               "'E. coli K12', #1900-04-24#, '');";
    EXPECT_EQ(takeStdout(), std::string(kProgress) + insert + "\n");
    const Texts statements = statementsSinceOpen();
    ASSERT_GE(statements.size(), 4u);
    EXPECT_EQ(statements[0], "SELECT * FROM StockTable WHERE Index_ID='R9_B9_P9'");
    EXPECT_EQ(statements[1], insert);
    EXPECT_EQ(statements[2], "SELECT MIN(Dates_ID) FROM StockTable");
    EXPECT_EQ(statements[3], "SELECT MAX(Dates_ID) FROM StockTable");
    EXPECT_EQ(liveHandles(), 0);

    // The empty date is stored as 1900-04-24 and becomes the range's start;
    // the refreshed range lists the new record.
    const std::vector<Row> rows = queryRows(
        path, "SELECT Index_ID, Strain, substr(Dates_ID, 1, 10), Comments FROM StockTable "
              "WHERE Index_ID='R9_B9_P9'");
    EXPECT_EQ(rows, (std::vector<Row>{{"R9_B9_P9", "E. coli K12", "1900-04-24", ""}}));
    EXPECT_STREQ(appState.startDateInput->value(), "1900-04-24");
    EXPECT_STREQ(appState.endDateInput->value(), "2009-01-02");
    EXPECT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2", "R2_A_3", "R9_B9_P9"}));
    // The edit row keeps its empty key.
    EXPECT_EQ(appState.editTable->getCell(0, 0), "");

    // Saving the same row again is refused: the place is taken.
    const std::vector<Row> afterInsert = stockRows(path);
    messages.clear();
    setEditRow({"", "R9", "B9", "P9", "E. coli K12", "", ""});
    updateItem();
    EXPECT_EQ(messages, Texts{"Error!\nThis field is already occupied"});
    EXPECT_EQ(stockRows(path), afterInsert);
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, AnUnchangedRecordKeepsItsKey) {
    appState.startDateInput->value("2005-01-01"); // the save widens the range again
    loadListed("R1_B_2");
    appState.editTable->setCell(0, 4, "MG1655 dam-");
    updateItem();
    EXPECT_EQ(messages, Texts{});
    const std::string update =
        "UPDATE StockTable SET Index_ID='R1_B_2', Rack='R1', Box='B', Position='2', "
        "Strain='MG1655 dam-', Dates_ID=#2005-01-01#, Comments='' WHERE Index_ID='R1_B_2'";
    EXPECT_EQ(takeStdout(), std::string(kProgress) + update + "\n");
    EXPECT_EQ(queryRows(path, "SELECT Strain FROM StockTable WHERE Index_ID='R1_B_2'"),
              (std::vector<Row>{{"MG1655 dam-"}}));
    EXPECT_EQ(stockRows(path).size(), before.size());
    EXPECT_STREQ(appState.startDateInput->value(), "2003-05-17");
    EXPECT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2", "R2_A_3"}));
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, MovingToAFreePlaceChangesTheKey) {
    loadListed("R1_A_1");
    appState.editTable->setCell(0, 3, "7");
    updateItem();
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(appState.editTable->getCell(0, 0), "R1_A_7");
    EXPECT_EQ(queryRows(path, "SELECT Index_ID, Position FROM StockTable WHERE Rack='R1' AND "
                              "Box='A'"),
              (std::vector<Row>{{"R1_A_7", "7"}}));
    EXPECT_EQ(listedKeys(), (Texts{"R1_A_7", "R1_B_2", "R2_A_3"}));
}

TEST_F(Save, MovingOntoATakenPlaceIsRefused) {
    loadListed("R1_A_1");
    appState.editTable->setCell(0, 2, "B");
    appState.editTable->setCell(0, 3, "2");
    updateItem();
    EXPECT_EQ(messages, Texts{"Error!\nThis field is already occupied"});
    EXPECT_EQ(appState.editTable->getCell(0, 0), "R1_A_1");
    EXPECT_EQ(stockRows(path), before);
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, UnderscoresCanMakeTwoPlacesShareAKey) {
    newItem();
    setEditRow({"", "R1_B2", "B3", "P4", "x", "2001-01-01", ""});
    updateItem();
    ASSERT_EQ(messages, Texts{});
    const std::vector<Row> afterFirst = stockRows(path);
    newItem();
    setEditRow({"", "R1", "B2_B3", "P4", "y", "2001-01-01", ""});
    updateItem();
    EXPECT_EQ(messages, Texts{"Error!\nThis field is already occupied"});
    EXPECT_EQ(stockRows(path), afterFirst);
}

TEST_F(Save, AnUpdateOfARecordRemovedMeanwhileIsNotASuccess) {
    loadListed("R1_B_2");
    runSql(path, "DELETE FROM StockTable WHERE Index_ID='R1_B_2'");
    const std::vector<Row> removed = stockRows(path);
    const Texts listed = listedKeys();
    appState.editTable->setCell(0, 4, "changed");
    updateItem();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("R1_B_2 no longer exists"), std::string::npos) << messages[0];
    EXPECT_EQ(stockRows(path), removed);
    // Nothing was listed again: the UPDATE was the last statement.
    EXPECT_EQ(lastStatement().rfind("UPDATE StockTable SET", 0), 0u);
    EXPECT_EQ(listedKeys(), listed);
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, ADateThatIsNoDayOfTheCalendarIsRefusedByTheDatabase) {
    const char* dates[] = {"2008-02-31", "2008x12y21"};
    for (const char* date : dates) {
        messages.clear();
        newItem();
        setEditRow({"", "R7", "B7", "P7", "x", date, ""});
        updateItem();
        EXPECT_EQ(messages, Texts{"Error SQLExecDirect()\n,in the update fcn 2"}) << date;
        EXPECT_EQ(stockRows(path), before) << date;
    }
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, AFailedDateRefreshLeavesTheRecordWrittenAndNothingRefreshed) {
    // StockTable becomes a view whose Dates_ID cannot be computed for a
    // record commented "poison": the occupancy query and the INSERT work,
    // the earliest-date query then fails.
    runSql(path, "ALTER TABLE StockTable RENAME TO Base;"
                 "CREATE VIEW StockTable AS SELECT Index_ID, Rack, Box, Position, Strain, "
                 "CASE WHEN Comments = 'poison' THEN json('not json') ELSE Dates_ID END "
                 "AS Dates_ID, Comments FROM Base;"
                 "CREATE TRIGGER StockInsert INSTEAD OF INSERT ON StockTable BEGIN "
                 "INSERT INTO Base VALUES (NEW.Index_ID, NEW.Rack, NEW.Box, NEW.Position, "
                 "NEW.Strain, NEW.Dates_ID, NEW.Comments); END");
    appState.startDateInput->value("2004-01-01");
    const Texts listed = listedKeys();
    newItem();
    setEditRow({"", "R6", "B6", "P6", "x", "1999-09-09", "poison"});
    updateItem();
    EXPECT_EQ(messages, Texts{"Error SQLExecDirect(), setting the MinDates\nin update fcn"});
    EXPECT_EQ(queryRows(path, "SELECT Index_ID, substr(Dates_ID, 1, 10) FROM Base WHERE "
                              "Index_ID='R6_B6_P6'"),
              (std::vector<Row>{{"R6_B6_P6", "1999-09-09"}}));
    EXPECT_STREQ(appState.startDateInput->value(), "2004-01-01");
    EXPECT_EQ(listedKeys(), listed);
    EXPECT_EQ(lastStatement(), "SELECT MIN(Dates_ID) FROM StockTable");
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, AChangedColumnCountIsRefusedNamingBothCounts) {
    runSql(path, "ALTER TABLE StockTable ADD COLUMN Extra TEXT");
    const std::vector<Row> widened = stockRows(path);
    newItem();
    setEditRow({"", "R8", "B8", "P8", "x", "", ""});
    updateItem();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("reports 8 columns"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("has 7"), std::string::npos) << messages[0];
    EXPECT_EQ(stockRows(path), widened);
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Save, AnOpenCellEditIsCommittedAndChecked) {
    loadListed("R1_A_1");
    // Type into the floating editor without pressing Enter.
    appState.editTable->cellInput->value("don't");
    appState.editTable->editingRow = 0;
    appState.editTable->editingColumn = 6;
    appState.editTable->cellInput->show();
    updateItem();
    EXPECT_EQ(messages, Texts{"Error!\nPlease don't use ' -apostrophe"});
    EXPECT_EQ(appState.editTable->getCell(0, 6), "don't");
    EXPECT_EQ(stockRows(path), before);
}

} // namespace
