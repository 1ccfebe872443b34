// The texts of a connection's failed steps and the diagnostic writers.
#include "db/DbConnection.h"

#include <gtest/gtest.h>

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

} // namespace
