// Catalog functions: SQLColumns as the program reads it (name into 64 bytes,
// type as SQL_C_LONG), SQLTables, SQLGetTypeInfo, SQLGetInfo, SQLGetFunctions.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

using namespace drivertest;

namespace {

class Catalog : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});
        sqliteExec(db, "CREATE TABLE Other (Id INTEGER, Notes MEMO); "
                       "CREATE VIEW Racks AS SELECT DISTINCT Rack FROM StockTable");
        ASSERT_EQ(connection.open(db), SQL_SUCCESS);
    }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    Connection connection;
};

TEST_F(Catalog, ColumnsListsEveryColumnInTableOrderWithItsType) {
    Statement statement(connection);
    SQLCHAR table[] = "StockTable";
    ASSERT_EQ(SQLColumns(statement.handle(), nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0),
              SQL_SUCCESS);
    SQLSMALLINT resultColumns = 0;
    SQLNumResultCols(statement.handle(), &resultColumns);
    EXPECT_EQ(resultColumns, 18);

    char name[64];
    SQLINTEGER type = 0;
    SQLLEN nameIndicator = 0, typeIndicator = 0;
    SQLBindCol(statement.handle(), 4, SQL_C_CHAR, name, sizeof name, &nameIndicator);
    SQLBindCol(statement.handle(), 5, SQL_C_LONG, &type, 0, &typeIndicator);
    std::vector<std::string> names;
    std::vector<SQLINTEGER> types;
    SQLRETURN rc;
    while ((rc = SQLFetch(statement.handle())) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        names.push_back(name);
        types.push_back(type);
    }
    EXPECT_EQ(rc, SQL_NO_DATA);
    EXPECT_EQ(names, stockColumns());
    std::vector<SQLINTEGER> expectedTypes(11, SQL_VARCHAR);
    expectedTypes[9] = SQL_TYPE_TIMESTAMP;
    EXPECT_EQ(types, expectedTypes);
}

TEST_F(Catalog, ColumnsResultHasTheStandardColumnNames) {
    Statement statement(connection);
    SQLCHAR table[] = "Other";
    ASSERT_EQ(SQLColumns(statement.handle(), nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0),
              SQL_SUCCESS);
    const char* expected[] = {"TABLE_CAT",         "TABLE_SCHEM",      "TABLE_NAME",
                              "COLUMN_NAME",       "DATA_TYPE",        "TYPE_NAME",
                              "COLUMN_SIZE",       "BUFFER_LENGTH",    "DECIMAL_DIGITS",
                              "NUM_PREC_RADIX",    "NULLABLE",         "REMARKS",
                              "COLUMN_DEF",        "SQL_DATA_TYPE",    "SQL_DATETIME_SUB",
                              "CHAR_OCTET_LENGTH", "ORDINAL_POSITION", "IS_NULLABLE"};
    for (SQLUSMALLINT c = 1; c <= 18; ++c) {
        SQLCHAR name[64];
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(statement.handle(), c, name, sizeof name, &length, &type, &size, &digits,
                       &nullable);
        EXPECT_STREQ(reinterpret_cast<char*>(name), expected[c - 1]);
    }
    Statement rows(connection);
    Outcome outcome;
    ASSERT_EQ(SQLColumns(rows.handle(), nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0),
              SQL_SUCCESS);
    char typeName[32], ordinal[8];
    SQLLEN i1 = 0, i2 = 0;
    SQLBindCol(rows.handle(), 6, SQL_C_CHAR, typeName, sizeof typeName, &i1);
    SQLBindCol(rows.handle(), 17, SQL_C_CHAR, ordinal, sizeof ordinal, &i2);
    ASSERT_EQ(SQLFetch(rows.handle()), SQL_SUCCESS);
    EXPECT_STREQ(typeName, "INTEGER");
    EXPECT_STREQ(ordinal, "1");
    ASSERT_EQ(SQLFetch(rows.handle()), SQL_SUCCESS);
    EXPECT_STREQ(typeName, "LONGCHAR");
    EXPECT_STREQ(ordinal, "2");
    EXPECT_EQ(SQLFetch(rows.handle()), SQL_NO_DATA);
}

TEST_F(Catalog, ColumnsOfAnUnknownTableIsEmpty) {
    Statement statement(connection);
    SQLCHAR table[] = "Nothing";
    ASSERT_EQ(SQLColumns(statement.handle(), nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0),
              SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_NO_DATA);
}

TEST_F(Catalog, TablesListsTablesAndViewsByType) {
    auto list = [&](SQLCHAR* types) {
        Statement statement(connection);
        EXPECT_EQ(SQLTables(statement.handle(), nullptr, 0, nullptr, 0, nullptr, 0, types,
                            types ? SQL_NTS : 0),
                  SQL_SUCCESS);
        char name[64], type[32];
        SQLLEN i1 = 0, i2 = 0;
        SQLBindCol(statement.handle(), 3, SQL_C_CHAR, name, sizeof name, &i1);
        SQLBindCol(statement.handle(), 4, SQL_C_CHAR, type, sizeof type, &i2);
        std::vector<std::string> found;
        while (SQL_SUCCEEDED(SQLFetch(statement.handle())))
            found.push_back(std::string(name) + ":" + type);
        return found;
    };
    EXPECT_EQ(list(nullptr),
              (std::vector<std::string>{"Other:TABLE", "StockTable:TABLE", "Racks:VIEW"}));
    SQLCHAR onlyTables[] = "'TABLE'";
    EXPECT_EQ(list(onlyTables), (std::vector<std::string>{"Other:TABLE", "StockTable:TABLE"}));
}

TEST_F(Catalog, TypeInfoListsTheDateTimeType) {
    Statement statement(connection);
    ASSERT_EQ(SQLGetTypeInfo(statement.handle(), SQL_TYPE_TIMESTAMP), SQL_SUCCESS);
    char name[32], prefix[4];
    SQLINTEGER type = 0;
    SQLLEN i1 = 0, i2 = 0, i3 = 0;
    SQLBindCol(statement.handle(), 1, SQL_C_CHAR, name, sizeof name, &i1);
    SQLBindCol(statement.handle(), 2, SQL_C_LONG, &type, 0, &i2);
    SQLBindCol(statement.handle(), 4, SQL_C_CHAR, prefix, sizeof prefix, &i3);
    ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    EXPECT_STREQ(name, "DATETIME");
    EXPECT_EQ(type, SQL_TYPE_TIMESTAMP);
    EXPECT_STREQ(prefix, "#");
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_NO_DATA);
}

TEST_F(Catalog, InfoAndFunctionsDescribeTheDriver) {
    char version[16];
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQLGetInfo(connection.dbc(), SQL_DRIVER_ODBC_VER, version, sizeof version, &length),
              SQL_SUCCESS);
    EXPECT_STREQ(version, "03.00");
    SQLUSMALLINT txn = 0;
    ASSERT_EQ(SQLGetInfo(connection.dbc(), SQL_TXN_CAPABLE, &txn, sizeof txn, nullptr),
              SQL_SUCCESS);
    EXPECT_EQ(txn, SQL_TC_ALL);

    SQLUSMALLINT supported = SQL_FALSE;
    for (SQLUSMALLINT function : {SQL_API_SQLCOLUMNS, SQL_API_SQLGETDIAGFIELD, SQL_API_SQLGETDATA,
                                  SQL_API_SQLEXECDIRECT, SQL_API_SQLTABLES}) {
        ASSERT_EQ(SQLGetFunctions(connection.dbc(), function, &supported), SQL_SUCCESS);
        EXPECT_EQ(supported, SQL_TRUE) << function;
    }
    ASSERT_EQ(SQLGetFunctions(connection.dbc(), SQL_API_SQLPROCEDURES, &supported), SQL_SUCCESS);
    EXPECT_EQ(supported, SQL_FALSE);
}

TEST_F(Catalog, NativeSqlShowsTheTranslatedStatement) {
    SQLCHAR in[] = "SELECT [Index_ID] FROM StockTable WHERE Dates_ID < #2008-12-21#";
    SQLCHAR out[256];
    SQLINTEGER length = 0;
    ASSERT_EQ(SQLNativeSql(connection.dbc(), in, SQL_NTS, out, sizeof out, &length), SQL_SUCCESS);
    const std::string translated(reinterpret_cast<char*>(out));
    EXPECT_NE(translated.find("'2008-12-21 00:00:00'"), std::string::npos) << translated;
    EXPECT_EQ(translated.find('#'), std::string::npos) << translated;
    EXPECT_EQ(length, static_cast<SQLINTEGER>(translated.size()));

    SQLCHAR bad[] = "SELECT * FROM StockTable WHERE Dates_ID < #2008-13-01#";
    EXPECT_EQ(SQLNativeSql(connection.dbc(), bad, SQL_NTS, out, sizeof out, &length), SQL_ERROR);
    EXPECT_EQ(connection.diagnostics().at(0).state, "22007");
}

TEST_F(Catalog, DeclaredTypesMapToTheirSqlTypes) {
    const std::vector<std::pair<std::string, SQLINTEGER>> cases = {
        {"TEXT", SQL_VARCHAR},    {"TEXT(40)", SQL_VARCHAR},       {"VARCHAR(20)", SQL_VARCHAR},
        {"CHAR(3)", SQL_VARCHAR}, {"MEMO", SQL_LONGVARCHAR},       {"LONGTEXT", SQL_LONGVARCHAR},
        {"INTEGER", SQL_INTEGER}, {"LONG", SQL_INTEGER},           {"DOUBLE", SQL_DOUBLE},
        {"REAL", SQL_DOUBLE},     {"FLOAT", SQL_DOUBLE},           {"YESNO", SQL_BIT},
        {"BIT", SQL_BIT},         {"DATETIME", SQL_TYPE_TIMESTAMP}};
    std::string create = "CREATE TABLE Types (";
    for (size_t i = 0; i < cases.size(); ++i)
        create += (i ? ", c" : "c") + std::to_string(i) + " " + cases[i].first;
    sqliteExec(db, create + ")");
    connection.close();
    ASSERT_EQ(connection.open(db), SQL_SUCCESS);

    Statement statement(connection);
    SQLCHAR table[] = "Types";
    ASSERT_EQ(SQLColumns(statement.handle(), nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0),
              SQL_SUCCESS);
    SQLINTEGER type = 0, size = 0;
    SQLLEN i1 = 0, i2 = 0;
    SQLBindCol(statement.handle(), 5, SQL_C_LONG, &type, 0, &i1);
    SQLBindCol(statement.handle(), 7, SQL_C_LONG, &size, 0, &i2);
    for (const auto& [declared, expected] : cases) {
        ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS) << declared;
        EXPECT_EQ(type, expected) << declared;
        if (declared == "TEXT(40)") {
            EXPECT_EQ(size, 40);
        }
    }
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_NO_DATA);
}

} // namespace
