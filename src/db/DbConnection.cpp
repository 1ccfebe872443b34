// Opening and releasing one operation's connection, with the step texts of
// its alerts and the diagnostic lines on the standard streams.
#include "db/DbConnection.h"

#include "db/ShowError.h"

#include <iostream>
#include <utility>

const char* const kLabelColumnNames = "set_column_names";
const char* const kLabelSelectors = "set_selectors";
const char* const kLabelListing = "checkState";
const char* const kLabelSearch = "search_cb";
const char* const kLabelSave = "update fcn";

DbConnection::~DbConnection() {
    release(true);
}

DbConnection::DbConnection(DbConnection&& other) noexcept
    : environment_(std::exchange(other.environment_, nullptr)),
      connection_(std::exchange(other.connection_, nullptr)),
      statement_(std::exchange(other.statement_, nullptr)),
      connected_(std::exchange(other.connected_, false)) {}

DbConnection& DbConnection::operator=(DbConnection&& other) noexcept {
    if (this != &other) {
        release(true);
        environment_ = std::exchange(other.environment_, nullptr);
        connection_ = std::exchange(other.connection_, nullptr);
        statement_ = std::exchange(other.statement_, nullptr);
        connected_ = std::exchange(other.connected_, false);
    }
    return *this;
}

void DbConnection::release(bool afterResultSet) {
    if (afterResultSet && statement_ != SQL_NULL_HSTMT)
        SQLFreeStmt(statement_, SQL_CLOSE);
    if (connected_)
        SQLDisconnect(connection_);
    if (connection_ != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    if (environment_ != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
    // The disconnect freed the statement; a statement allocated on a
    // connection that never connected cannot exist (step 5 follows step 4).
    statement_ = SQL_NULL_HSTMT;
    connected_ = false;
    connection_ = SQL_NULL_HDBC;
    environment_ = SQL_NULL_HENV;
}

namespace {

// The path as the value of DBQ.  A path holding ';', '{' or '}' would end
// the value early and could add attributes of its own (a second DBQ, another
// DRIVER), so it goes between braces with its '}' doubled, as ODBC reads a
// value; every other path is written bare, as it always was.
std::string dbqValue(const std::string& path) {
    if (path.find_first_of(";{}") == std::string::npos)
        return path;
    std::string braced = "{";
    for (char c : path) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

} // namespace

std::string connectionString(const std::string& path) {
    return "DBQ=" + dbqValue(path) + ";DRIVER={Microsoft Access Driver (*.mdb)};";
}

std::string stepText(OpenStep step) {
    switch (step) {
    case OpenStep::Environment:
        return "SQLAllocHandle(environment)";
    case OpenStep::OdbcVersion:
        return "SQLSetEnvAttr()";
    case OpenStep::ConnectionHandle:
        return "SQLAllocHandle(connection)";
    case OpenStep::Connect:
        return "SQLDriverConnect(connection to the database)";
    case OpenStep::StatementHandle:
        return "SQLAllocHandle(Allocation of a statement handle)";
    }
    return "";
}

std::string stepFailureText(OpenStep step, const std::string& label) {
    if (step == OpenStep::ConnectionHandle && label == kLabelSave)
        return stepText(step) + " \n, in the " + label;
    return stepText(step) + " \nError, in the " + label;
}

namespace {

// Shows the alert of a failed step after releasing what was held.
std::optional<DbConnection> failStep(DbConnection& held, OpenStep step, const std::string& label) {
    held.release(false);
    showError(stepFailureText(step, label));
    return std::nullopt;
}

void reportStep(const OpenOptions& options, OpenStep step) {
    if (options.onStepDone)
        options.onStepDone(step);
}

// Writes the diagnostic records of one handle; `leadingEmptyLine` gives the
// statement form.  See writeConnectionDiagnostics.
bool writeDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, bool leadingEmptyLine) {
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {0};
        SQLCHAR message[255] = {0};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT messageLength = 0;
        const SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state, &nativeError,
                                               message, sizeof message, &messageLength);
        if (result == SQL_NO_DATA)
            return true;
        if (!succeeded(result)) {
            std::cerr << "Error calling SQLGetDiagRec!\n" << std::flush;
            return false;
        }
        if (leadingEmptyLine)
            std::cout << std::endl;
        std::cout << reinterpret_cast<const char*>(message) << std::endl;
        std::cout << reinterpret_cast<const char*>(state) << std::endl;
    }
}

} // namespace

bool writeConnectionDiagnostics(SQLHDBC connection) {
    return writeDiagnostics(SQL_HANDLE_DBC, connection, false);
}

bool writeStatementDiagnostics(SQLHSTMT statement) {
    return writeDiagnostics(SQL_HANDLE_STMT, statement, true);
}

std::optional<DbConnection> openConnection(const std::string& path, const std::string& label,
                                           const OpenOptions& options) {
    DbConnection held;

    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &held.environment_))) {
        held.environment_ = SQL_NULL_HENV;
        return failStep(held, OpenStep::Environment, label);
    }
    reportStep(options, OpenStep::Environment);

    if (!succeeded(SQLSetEnvAttr(held.environment_, SQL_ATTR_ODBC_VERSION,
                                 reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
        return failStep(held, OpenStep::OdbcVersion, label);
    reportStep(options, OpenStep::OdbcVersion);

    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, held.environment_, &held.connection_))) {
        held.connection_ = SQL_NULL_HDBC;
        return failStep(held, OpenStep::ConnectionHandle, label);
    }
    reportStep(options, OpenStep::ConnectionHandle);

    const std::string text = connectionString(path);
    const SQLRETURN connected = SQLDriverConnect(
        held.connection_, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())),
        SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_COMPLETE);
    if (!succeeded(connected))
        return failStep(held, OpenStep::Connect, label);
    held.connected_ = true;
    if (options.connectionDiagnostics && connected == SQL_SUCCESS_WITH_INFO &&
        !writeConnectionDiagnostics(held.connection_)) {
        held.release(false);
        return std::nullopt;
    }
    reportStep(options, OpenStep::Connect);

    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, held.connection_, &held.statement_))) {
        held.statement_ = SQL_NULL_HSTMT;
        return failStep(held, OpenStep::StatementHandle, label);
    }
    reportStep(options, OpenStep::StatementHandle);

    return held;
}

void closeConnection(DbConnection& connection, bool afterResultSet) {
    connection.release(afterResultSet);
}
