// The texts of a connection's failed steps and the diagnostic writers.
#include "db/DbConnection.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct StepCase {
    OpenStep step;
    const char* label;
    std::string text;
};

TEST(StepFailureText, EveryStepAndLabel) {
    const StepCase cases[] = {
        {OpenStep::Environment, "checkState",
         "SQLAllocHandle(environment) \nError, in the checkState"},
        {OpenStep::OdbcVersion, "set_selectors", "SQLSetEnvAttr() \nError, in the set_selectors"},
        {OpenStep::ConnectionHandle, "search_cb",
         "SQLAllocHandle(connection) \nError, in the search_cb"},
        {OpenStep::Connect, "checkState",
         "SQLDriverConnect(connection to the database) \nError, in the checkState"},
        {OpenStep::StatementHandle, "set_column_names",
         "SQLAllocHandle(Allocation of a statement handle) \nError, in the set_column_names"},
        // The save and the delete: step 3 alone lacks the word Error.
        {OpenStep::ConnectionHandle, "update fcn",
         "SQLAllocHandle(connection) \n, in the update fcn"},
        {OpenStep::Connect, "update fcn",
         "SQLDriverConnect(connection to the database) \nError, in the update fcn"},
        {OpenStep::Environment, "update fcn",
         "SQLAllocHandle(environment) \nError, in the update fcn"},
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(stepFailureText(c.step, c.label), c.text);
}

TEST(ConnectionString, NamesTheAccessDriver) {
    EXPECT_EQ(connectionString("/data/stock.mdb"),
              "DBQ=/data/stock.mdb;DRIVER={Microsoft Access Driver (*.mdb)};");
    EXPECT_EQ(connectionString(""), "DBQ=;DRIVER={Microsoft Access Driver (*.mdb)};");
    // A path that would end its value early goes between braces.
    EXPECT_EQ(connectionString("/data/x;DBQ=/other.mdb"),
              "DBQ={/data/x;DBQ=/other.mdb};DRIVER={Microsoft Access Driver (*.mdb)};");
    EXPECT_EQ(connectionString("/data/{a}.mdb"),
              "DBQ={/data/{a}}.mdb};DRIVER={Microsoft Access Driver (*.mdb)};");
}

TEST(Diagnostics, AnUnreadableRecordIsReportedOnStandardError) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(writeStatementDiagnostics(SQL_NULL_HSTMT));
    EXPECT_FALSE(writeConnectionDiagnostics(SQL_NULL_HDBC));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error calling SQLGetDiagRec!\nError calling SQLGetDiagRec!\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

// The writers' line forms on the records of a real failed connect.
TEST(Diagnostics, ConnectionAndStatementForms) {
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    ASSERT_TRUE(succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)));
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
    ASSERT_TRUE(succeeded(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection)));
    const std::string text = connectionString("/nonexistent/folder/stock.mdb");
    ASSERT_FALSE(succeeded(SQLDriverConnect(
        connection, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())), SQL_NTS,
        nullptr, 0, nullptr, SQL_DRIVER_COMPLETE)));

    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(writeConnectionDiagnostics(connection));
    const std::string out = ::testing::internal::GetCapturedStdout();
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);

    // Pairs of lines: a message, then a five-character state.
    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 2u) << out;
    ASSERT_EQ(lines.size() % 2, 0u) << out;
    for (size_t i = 0; i < lines.size(); i += 2) {
        EXPECT_FALSE(lines[i].empty()) << out;
        EXPECT_EQ(lines[i + 1].size(), 5u) << out;
    }
}

} // namespace
