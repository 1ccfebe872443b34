// Reading results: text conversion of every type, truncation into short
// buffers, NULLs, long texts read in pieces, other C types, column
// descriptions, prepared statements and parameters.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace drivertest;

namespace {

class Fetching : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(
            db, {stockRow("1", "A", "1", "2008-12-21 14:30:05", "DH5alpha", std::string(300, 'c')),
                 stockRow("2", "A", "1", std::nullopt)});
        ASSERT_EQ(connection.open(db), SQL_SUCCESS);
    }

    // Runs a query on `statement` and moves to its first row.
    void firstRow(Statement& statement, const std::string& sql) {
        ASSERT_TRUE(SQL_SUCCEEDED(statement.execute(sql))) << statement.diagnostics().at(0).message;
        ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    Connection connection;
};

TEST_F(Fetching, LongTextIsCutNulTerminatedWithItsFullLength) {
    Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT Comments FROM StockTable WHERE Index_ID='1_A_1'"),
              SQL_SUCCESS);
    char buffer[256];
    SQLLEN indicator = 0;
    SQLBindCol(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(indicator, 300);
    EXPECT_EQ(std::string(buffer), std::string(255, 'c'));
    auto diags = statement.diagnostics();
    ASSERT_FALSE(diags.empty());
    EXPECT_EQ(diags[0].state, "01004");
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_NO_DATA);
}

TEST_F(Fetching, NullGivesTheNullIndicatorBoundOrRead) {
    Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT Dates_ID, Comments FROM StockTable WHERE Index_ID='2_A_1'"),
              SQL_SUCCESS);
    char buffer[256] = "untouched";
    SQLLEN indicator = 0;
    SQLBindCol(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(indicator, SQL_NULL_DATA);
    SQLLEN readIndicator = 0;
    EXPECT_EQ(SQLGetData(statement.handle(), 2, SQL_C_CHAR, buffer, sizeof buffer, &readIndicator),
              SQL_SUCCESS);
    EXPECT_EQ(readIndicator, SQL_NULL_DATA);
}

TEST_F(Fetching, TextsOfAnyLengthAreStoredWholeAndReadInPieces) {
    std::string longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += "line " + std::to_string(i) + " of a long comment; ";
    Outcome insert =
        run(connection, "UPDATE StockTable SET Comments='" + longText + "' WHERE Index_ID='2_A_1'");
    ASSERT_TRUE(insert.ok()) << insert.message();
    EXPECT_EQ(sqliteQuery(db, "SELECT length(Comments) FROM StockTable WHERE Index_ID='2_A_1'"),
              (Rows{{std::to_string(longText.size())}}));

    Statement statement(connection);
    firstRow(statement, "SELECT Comments FROM StockTable WHERE Index_ID='2_A_1'");
    std::string readBack;
    char piece[1000];
    SQLLEN indicator = 0;
    SQLRETURN rc;
    int pieces = 0;
    while ((rc = SQLGetData(statement.handle(), 1, SQL_C_CHAR, piece, sizeof piece, &indicator)) !=
           SQL_NO_DATA) {
        ASSERT_TRUE(SQL_SUCCEEDED(rc));
        if (pieces == 0) {
            EXPECT_EQ(indicator, static_cast<SQLLEN>(longText.size()));
        }
        readBack += piece;
        ++pieces;
    }
    EXPECT_EQ(readBack, longText);
    EXPECT_EQ(pieces, static_cast<int>((longText.size() + 998) / 999));
}

TEST_F(Fetching, DateTimeReadsAsTextAndAsTimestamp) {
    Statement statement(connection);
    firstRow(statement, "SELECT Dates_ID, Dates_ID, Dates_ID FROM StockTable WHERE Rack='1'");
    char text[64];
    SQLLEN indicator = 0;
    ASSERT_EQ(SQLGetData(statement.handle(), 1, SQL_C_CHAR, text, sizeof text, &indicator),
              SQL_SUCCESS);
    EXPECT_STREQ(text, "2008-12-21 14:30:05");
    SQL_TIMESTAMP_STRUCT ts{};
    ASSERT_EQ(SQLGetData(statement.handle(), 2, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &indicator),
              SQL_SUCCESS);
    EXPECT_EQ(ts.year, 2008);
    EXPECT_EQ(ts.month, 12);
    EXPECT_EQ(ts.day, 21);
    EXPECT_EQ(ts.hour, 14);
    EXPECT_EQ(ts.minute, 30);
    EXPECT_EQ(ts.second, 5);
    SQL_TIMESTAMP_STRUCT byDefault{};
    ASSERT_EQ(
        SQLGetData(statement.handle(), 3, SQL_C_DEFAULT, &byDefault, sizeof byDefault, &indicator),
        SQL_SUCCESS);
    EXPECT_EQ(byDefault.day, 21);
}

TEST_F(Fetching, NumbersConvertToTheNumericCTypes) {
    ASSERT_TRUE(
        run(connection, "CREATE TABLE Numbers (Id INTEGER, Amount DOUBLE, Label TEXT)").ok());
    ASSERT_TRUE(run(connection, "INSERT INTO Numbers VALUES (42, 2.5, '17')").ok());
    Statement statement(connection);
    firstRow(statement, "SELECT Id, Id, Amount, Amount, Label, Id FROM Numbers");
    SQLINTEGER asLong = 0;
    SQLBIGINT asBig = 0;
    double asDouble = 0;
    SQLINTEGER cut = 0;
    SQLINTEGER fromText = 0;
    char asText[16];
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_LONG, &asLong, 0, &indicator), SQL_SUCCESS);
    EXPECT_EQ(asLong, 42);
    EXPECT_EQ(SQLGetData(statement.handle(), 2, SQL_C_SBIGINT, &asBig, 0, &indicator), SQL_SUCCESS);
    EXPECT_EQ(asBig, 42);
    EXPECT_EQ(SQLGetData(statement.handle(), 3, SQL_C_DOUBLE, &asDouble, 0, &indicator),
              SQL_SUCCESS);
    EXPECT_DOUBLE_EQ(asDouble, 2.5);
    EXPECT_EQ(SQLGetData(statement.handle(), 4, SQL_C_SLONG, &cut, 0, &indicator),
              SQL_SUCCESS_WITH_INFO); // 01S07: the fraction is dropped
    EXPECT_EQ(cut, 2);
    EXPECT_EQ(SQLGetData(statement.handle(), 5, SQL_C_LONG, &fromText, 0, &indicator), SQL_SUCCESS);
    EXPECT_EQ(fromText, 17);
    EXPECT_EQ(SQLGetData(statement.handle(), 6, SQL_C_CHAR, asText, sizeof asText, &indicator),
              SQL_SUCCESS);
    EXPECT_STREQ(asText, "42");
}

TEST_F(Fetching, TextThatIsNoNumberFailsWith22018) {
    Statement statement(connection);
    firstRow(statement, "SELECT Strain FROM StockTable WHERE Rack='1'");
    SQLINTEGER value = 0;
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_LONG, &value, 0, &indicator), SQL_ERROR);
    EXPECT_EQ(statement.diagnostics().at(0).state, "22018");
}

TEST_F(Fetching, ColumnsAreDescribedWithTheirSqlTypes) {
    Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT Index_ID, Dates_ID, MIN(Dates_ID) FROM StockTable"),
              SQL_SUCCESS);
    SQLSMALLINT count = 0;
    SQLNumResultCols(statement.handle(), &count);
    ASSERT_EQ(count, 3);
    struct Expected {
        const char* name;
        SQLSMALLINT type;
    } expected[] = {{"Index_ID", SQL_VARCHAR},
                    {"Dates_ID", SQL_TYPE_TIMESTAMP},
                    {"MIN(Dates_ID)", SQL_TYPE_TIMESTAMP}};
    for (SQLUSMALLINT c = 1; c <= 3; ++c) {
        SQLCHAR name[64];
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        ASSERT_EQ(SQLDescribeCol(statement.handle(), c, name, sizeof name, &nameLength, &type,
                                 &size, &digits, &nullable),
                  SQL_SUCCESS);
        EXPECT_STREQ(reinterpret_cast<char*>(name), expected[c - 1].name);
        EXPECT_EQ(type, expected[c - 1].type) << expected[c - 1].name;
        EXPECT_GT(size, 0u);
        if (c == 1) {
            EXPECT_EQ(nullable, SQL_NO_NULLS);
        }
    }
    SQLLEN displaySize = 0;
    EXPECT_EQ(SQLColAttribute(statement.handle(), 2, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr,
                              &displaySize),
              SQL_SUCCESS);
    EXPECT_EQ(displaySize, 19);
    char label[64];
    SQLSMALLINT labelLength = 0;
    EXPECT_EQ(SQLColAttribute(statement.handle(), 1, SQL_DESC_LABEL, label, sizeof label,
                              &labelLength, nullptr),
              SQL_SUCCESS);
    EXPECT_STREQ(label, "Index_ID");
}

TEST_F(Fetching, PreparedStatementRunsAgainAfterClose) {
    Statement statement(connection);
    std::string sql = "SELECT Index_ID FROM StockTable ORDER BY Index_ID";
    ASSERT_EQ(SQLPrepare(statement.handle(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS),
              SQL_SUCCESS);
    SQLSMALLINT count = 0;
    SQLNumResultCols(statement.handle(), &count);
    EXPECT_EQ(count, 1);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(SQLExecute(statement.handle()), SQL_SUCCESS);
        char key[32];
        SQLLEN indicator = 0;
        SQLBindCol(statement.handle(), 1, SQL_C_CHAR, key, sizeof key, &indicator);
        ASSERT_EQ(SQLFetchScroll(statement.handle(), SQL_FETCH_NEXT, 0), SQL_SUCCESS);
        EXPECT_STREQ(key, "1_A_1");
        ASSERT_EQ(SQLFreeStmt(statement.handle(), SQL_CLOSE), SQL_SUCCESS);
    }
    SQLSMALLINT more = SQLMoreResults(statement.handle());
    EXPECT_EQ(more, SQL_NO_DATA);
}

TEST_F(Fetching, ParametersAreBoundAsValues) {
    Statement statement(connection);
    std::string sql = "SELECT Index_ID FROM StockTable WHERE Rack = ? AND Box = ?";
    ASSERT_EQ(SQLPrepare(statement.handle(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS),
              SQL_SUCCESS);
    SQLSMALLINT parameters = 0;
    ASSERT_EQ(SQLNumParams(statement.handle(), &parameters), SQL_SUCCESS);
    EXPECT_EQ(parameters, 2);
    char rack[] = "2";
    char box[] = "A";
    SQLLEN nts = SQL_NTS;
    SQLBindParameter(statement.handle(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 255, 0, rack,
                     0, &nts);
    SQLBindParameter(statement.handle(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 255, 0, box,
                     0, &nts);
    ASSERT_EQ(SQLExecute(statement.handle()), SQL_SUCCESS);
    char key[32];
    SQLLEN indicator = 0;
    SQLBindCol(statement.handle(), 1, SQL_C_CHAR, key, sizeof key, &indicator);
    ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    EXPECT_STREQ(key, "2_A_1");
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_NO_DATA);
}

} // namespace
