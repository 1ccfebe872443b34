// Statements the driver refuses, with the SQLSTATE and cause it reports, and
// the proof that a refused statement changed nothing.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

using namespace drivertest;

namespace {

struct RefusedCase {
    const char* sql;
    const char* state;
    const char* causeFragment; // the message names the cause
};

class Refusals : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(Refusals, ReportTheStateAndCauseAndChangeNothing) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00"),
                             stockRow("1", "A", "2", "2004-05-17 00:00:00")});
    const Rows before = sqliteQuery(db, "SELECT * FROM StockTable ORDER BY Index_ID");

    Outcome outcome = runOnce(db, GetParam().sql);
    EXPECT_EQ(outcome.rc, SQL_ERROR);
    EXPECT_EQ(outcome.state(), GetParam().state) << outcome.message();
    EXPECT_NE(outcome.message().find(GetParam().causeFragment), std::string::npos)
        << outcome.message();
    EXPECT_EQ(sqliteQuery(db, "SELECT * FROM StockTable ORDER BY Index_ID"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Driver, Refusals,
    ::testing::Values(
        RefusedCase{"SELECT * FROM StockTable WHERE Dates_ID = #2008-02-31#", "22007",
                    "2008-02-31"},
        RefusedCase{"SELECT * FROM StockTable WHERE Dates_ID = #2008x12y21#", "22007",
                    "2008x12y21"},
        RefusedCase{"UPDATE StockTable SET Rack='9', Dates_ID=#2007-02-29# WHERE Index_ID='1_A_1'",
                    "22007", "2007-02-29"},
        RefusedCase{"SELEC * FROM StockTable", "42000", "SELEC"},
        RefusedCase{"SELECT * FROM StockTable WHERE", "42000", ""},
        RefusedCase{"SELECT * FROM NoSuchTable", "42S02", "NoSuchTable"},
        RefusedCase{"SELECT NoSuchColumn FROM StockTable", "42S22", "NoSuchColumn"},
        RefusedCase{"UPDATE StockTable SET NoSuchColumn='x' WHERE Index_ID='1_A_1'", "42S22",
                    "NoSuchColumn"},
        RefusedCase{"INSERT INTO StockTable (Index_ID, Rack) VALUES ('1_A_1', '7')", "23000",
                    "Index_ID"},
        RefusedCase{"UPDATE StockTable SET Index_ID='1_A_2' WHERE Index_ID='1_A_1'", "23000",
                    "Index_ID"},
        RefusedCase{"INSERT INTO StockTable (Rack) VALUES ('7')", "23000", "Index_ID"},
        RefusedCase{"DELETE FROM StockTable WHERE Index_ID='1_A_1'; DELETE FROM StockTable",
                    "42000", "one statement"},
        RefusedCase{"SELECT * FROM StockTable; DROP TABLE StockTable", "42000", "one statement"}));

TEST(Diagnostics, EndWithNoDataAfterTheLastRecord) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {});
    Connection connection;
    ASSERT_TRUE(SQL_SUCCEEDED(connection.open(db)));
    Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT * FROM Missing"), SQL_ERROR);

    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR message[256];
    SQLSMALLINT length = 0;
    EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, statement.handle(), 1, state, &native, message,
                            sizeof message, &length),
              SQL_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(state), "42S02");
    EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, statement.handle(), 2, state, &native, message,
                            sizeof message, &length),
              SQL_NO_DATA);

    // A short message buffer gets the start of the message and its full length.
    SQLCHAR small[8];
    EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, statement.handle(), 1, state, &native, small,
                            sizeof small, &length),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(small)).size(), 7u);
    EXPECT_GT(length, 7);

    // A successful call clears the records of the one before.
    ASSERT_EQ(statement.execute("SELECT * FROM StockTable"), SQL_SUCCESS);
    EXPECT_TRUE(statement.diagnostics().empty());
}

} // namespace
