// The delete on real database files through the driver, with the question
// answered through the dialog seam.
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "edit/DeleteRecord.h"
#include "edit/EditRow.h"
#include "edit/StopIcon.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Input.H>

namespace {

using Texts = std::vector<std::string>;

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments MEMO";

const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', '')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'x', '2005-01-01 00:00:00', '')",
    "INSERT INTO StockTable VALUES ('O''Neil_1_2', 'O''Neil', '1', '2', 'y', "
    "'2006-01-01 00:00:00', '')",
    "INSERT INTO StockTable VALUES ('50%_A_3', '50%', 'A', '3', 'z', '2009-01-02 00:00:00', '')",
};

class Delete : public EditingTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openStock(kColumns, kRecords);
    }
};

TEST_F(Delete, ANewItemCannotBeDeleted) {
    newItem();
    deleteItem();
    EXPECT_EQ(messages, Texts{"Error!\nThis is a new item, and can not be deleted"});
    EXPECT_EQ(questions, Texts{});
    EXPECT_EQ(executedStatements(), Texts{});
    EXPECT_EQ(stockRows(path), before);
}

TEST_F(Delete, DecliningChangesNothing) {
    loadListed("R1_A_1");
    answer = 0; // "Cancel"
    deleteItem();
    EXPECT_EQ(questions, Texts{"You are about to delete a record:\nR1_A_1\n\nAre you sure?"});
    EXPECT_EQ(questionButtons, (std::vector<Texts>{{"Cancel", "<none>", "OK"}}));
    EXPECT_EQ(questionIcons, (std::vector<const void*>{stopIcon()}));
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(executedStatements(), Texts{});
    EXPECT_EQ(stockRows(path), before);
    EXPECT_EQ(appState.editTable->getCell(0, 0), "R1_A_1");
    EXPECT_EQ(listedKeys().size(), 4u);
}

TEST_F(Delete, ConfirmingDeletesListsAgainAndEmptiesTheEditRow) {
    loadListed("R1_A_1");
    appState.startDateInput->value("2003-05-17");
    deleteItem();
    EXPECT_EQ(messages, Texts{});
    const Texts statements = executedStatements();
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0], "DELETE FROM StockTable WHERE Index_ID='R1_A_1'");
    EXPECT_EQ(statements[1].rfind("SELECT * from StockTable WHERE ", 0), 0u);
    EXPECT_EQ(stockRows(path).size(), before.size() - 1);
    EXPECT_EQ(listedKeys(), (Texts{"50%_A_3", "O'Neil_1_2", "R1_B_2"}));
    EXPECT_EQ(editRow(7), Texts(7, ""));
    // The date range is not refreshed by a delete.
    EXPECT_STREQ(appState.startDateInput->value(), "2003-05-17");
    EXPECT_EQ(takeStdout(), "");
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Delete, AKeyWithAnApostropheFromAnotherToolIsDeleted) {
    loadListed("O'Neil_1_2");
    deleteItem();
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(firstStatement(), "DELETE FROM StockTable WHERE Index_ID='O''Neil_1_2'");
    EXPECT_EQ(queryRows(path, "SELECT COUNT(*) FROM StockTable WHERE Rack='O''Neil'"),
              (std::vector<Row>{{"0"}}));
}

TEST_F(Delete, APercentSignShowsUnchangedInTheQuestion) {
    loadListed("50%_A_3");
    answer = 0;
    deleteItem();
    EXPECT_EQ(questions, Texts{"You are about to delete a record:\n50%_A_3\n\nAre you sure?"});
}

TEST_F(Delete, AKeyThatMatchesNothingStillListsAgain) {
    loadListed("R1_B_2");
    runSql(path, "DELETE FROM StockTable WHERE Index_ID='R1_B_2'");
    const std::vector<Row> removed = stockRows(path);
    deleteItem();
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(stockRows(path), removed);
    EXPECT_EQ(listedKeys(), (Texts{"50%_A_3", "O'Neil_1_2", "R1_A_1"}));
    EXPECT_EQ(editRow(7), Texts(7, ""));
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Delete, AFailedConnectionDeletesNothing) {
    loadListed("R1_A_1");
    appState.pathInput->value((folder.path() + "/absent.mdb").c_str());
    deleteItem();
    EXPECT_EQ(messages, Texts{"SQLDriverConnect(connection to the database) \nError, in the "
                              "update fcn"});
    EXPECT_EQ(stockRows(path), before);
    EXPECT_EQ(appState.editTable->getCell(0, 0), "R1_A_1");
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Delete, AFailedStatementLeavesEverythingAsItWas) {
    loadListed("R1_A_1");
    runSql(path, "ALTER TABLE StockTable RENAME COLUMN Index_ID TO Renamed");
    const std::vector<Row> renamed = stockRows(path);
    const Texts listed = listedKeys();
    deleteItem();
    EXPECT_EQ(messages, Texts{"Error SQLExecDirect()\n,in the update fcn 2"});
    EXPECT_EQ(stockRows(path), renamed);
    EXPECT_EQ(listedKeys(), listed);
    EXPECT_EQ(appState.editTable->getCell(0, 0), "R1_A_1");
    EXPECT_EQ(liveHandles(), 0);
}

} // namespace
