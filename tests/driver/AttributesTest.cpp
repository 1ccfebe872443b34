// Connection and statement attributes: manual commit with SQLEndTran, the
// forward-only one-row cursor, row limits and refused attribute values.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

using namespace drivertest;

namespace {

class Attributes : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00"),
                                 stockRow("1", "A", "2", "2004-05-17 00:00:00"),
                                 stockRow("1", "A", "3", "2005-05-17 00:00:00")});
        ASSERT_EQ(connection.open(db), SQL_SUCCESS);
    }

    SQLRETURN setAutocommit(SQLULEN value) {
        return SQLSetConnectAttr(connection.dbc(), SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER);
    }

    std::string count() { return *sqliteQuery(db, "SELECT count(*) FROM StockTable")[0][0]; }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    Connection connection;
};

TEST_F(Attributes, ManualCommitKeepsChangesUntilEndTran) {
    ASSERT_EQ(setAutocommit(SQL_AUTOCOMMIT_OFF), SQL_SUCCESS);
    ASSERT_TRUE(run(connection, "DELETE FROM StockTable WHERE Index_ID='1_A_1'").ok());
    EXPECT_EQ(count(), "3"); // another reader does not see the open transaction
    ASSERT_EQ(SQLEndTran(SQL_HANDLE_DBC, connection.dbc(), SQL_ROLLBACK), SQL_SUCCESS);
    EXPECT_EQ(count(), "3");

    ASSERT_TRUE(run(connection, "DELETE FROM StockTable WHERE Index_ID='1_A_1'").ok());
    ASSERT_EQ(SQLEndTran(SQL_HANDLE_DBC, connection.dbc(), SQL_COMMIT), SQL_SUCCESS);
    EXPECT_EQ(count(), "2");

    // Switching autocommit back on commits what is open.
    ASSERT_TRUE(run(connection, "DELETE FROM StockTable WHERE Index_ID='1_A_2'").ok());
    ASSERT_EQ(setAutocommit(SQL_AUTOCOMMIT_ON), SQL_SUCCESS);
    EXPECT_EQ(count(), "1");
}

TEST_F(Attributes, DisconnectDropsAnUncommittedTransaction) {
    ASSERT_EQ(setAutocommit(SQL_AUTOCOMMIT_OFF), SQL_SUCCESS);
    ASSERT_TRUE(run(connection, "DELETE FROM StockTable").ok());
    connection.close();
    EXPECT_EQ(count(), "3");
}

TEST_F(Attributes, InvalidAutocommitValueIsRefusedWithHY024) {
    EXPECT_EQ(setAutocommit(7), SQL_ERROR);
    EXPECT_EQ(connection.diagnostics().at(0).state, "HY024");
}

TEST_F(Attributes, CursorStaysForwardOnlyWithOneRowPerFetch) {
    Statement statement(connection);
    EXPECT_EQ(SQLSetStmtAttr(statement.handle(), SQL_ATTR_ROW_ARRAY_SIZE,
                             reinterpret_cast<SQLPOINTER>(10), 0),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(statement.diagnostics().at(0).state, "01S02");
    SQLULEN size = 0;
    ASSERT_EQ(SQLGetStmtAttr(statement.handle(), SQL_ATTR_ROW_ARRAY_SIZE, &size, 0, nullptr),
              SQL_SUCCESS);
    EXPECT_EQ(size, 1u);
    ASSERT_EQ(statement.execute("SELECT Index_ID FROM StockTable"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetchScroll(statement.handle(), SQL_FETCH_FIRST, 0), SQL_ERROR);
}

TEST_F(Attributes, MaxRowsLimitsTheRowsFetched) {
    Statement statement(connection);
    ASSERT_EQ(
        SQLSetStmtAttr(statement.handle(), SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(2), 0),
        SQL_SUCCESS);
    SQLULEN fetched = 0;
    SQLSetStmtAttr(statement.handle(), SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    ASSERT_EQ(statement.execute("SELECT Index_ID FROM StockTable"), SQL_SUCCESS);
    int rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(statement.handle()))) {
        ++rows;
        EXPECT_EQ(fetched, 1u);
    }
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(fetched, 0u);
}

} // namespace
