// One operation's database connection: the ODBC environment, connection and
// statement handles, opened in five fixed steps on a database path and
// released again before the operation returns.  A failed step is shown to
// the user as "<step text> \nError, in the <operation label>".
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <functional>
#include <optional>
#include <string>

// The labels by which the operations name themselves in their alerts.
extern const char* const kLabelColumnNames; // "set_column_names"
extern const char* const kLabelSelectors;   // "set_selectors"
extern const char* const kLabelListing;     // "checkState"
extern const char* const kLabelSearch;      // "search_cb"
extern const char* const kLabelSave;        // "update fcn" (save and delete)

// The five opening steps, in their order.
enum class OpenStep {
    Environment = 1,
    OdbcVersion = 2,
    ConnectionHandle = 3,
    Connect = 4,
    StatementHandle = 5,
};

struct OpenOptions {
    // Write the connection diagnostics after a connect that returned
    // SQL_SUCCESS_WITH_INFO (column discovery only).
    bool connectionDiagnostics = false;
    // Called after each step that succeeded (the save's progress lines).
    std::function<void(OpenStep)> onStepDone;
};

// Owns the three handles of one connection.  Moving hands them over; the
// destructor releases whatever is still held, in closeConnection's order,
// so no way out of an operation can leave a handle allocated.
class DbConnection {
public:
    DbConnection() = default;
    ~DbConnection();
    DbConnection(DbConnection&& other) noexcept;
    DbConnection& operator=(DbConnection&& other) noexcept;
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    SQLHENV environment() const { return environment_; }
    SQLHDBC connection() const { return connection_; }
    SQLHSTMT statement() const { return statement_; }

    // Releases every handle held: the cursor closed first when
    // `afterResultSet`, then disconnect (if connected), free the connection,
    // free the environment.  The statement handle goes with the disconnect.
    // Results are not looked at.  Safe to call twice.
    void release(bool afterResultSet);

private:
    friend std::optional<DbConnection> openConnection(const std::string&, const std::string&,
                                                      const OpenOptions&);
    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    bool connected_ = false;
};

// True for SQL_SUCCESS and SQL_SUCCESS_WITH_INFO, the only results that count
// as success.
inline bool succeeded(SQLRETURN result) {
    return result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO;
}

// "DBQ=" + path + ";DRIVER={Microsoft Access Driver (*.mdb)};", the path in
// braces (its '}' doubled) when it holds ';', '{' or '}'.
std::string connectionString(const std::string& path);

// The user's name for the call of a step, e.g. "SQLDriverConnect(connection
// to the database)".
std::string stepText(OpenStep step);

// The alert of a failed step for an operation label; the save's and the
// delete's step 3 reads "SQLAllocHandle(connection) \n, in the update fcn".
std::string stepFailureText(OpenStep step, const std::string& label);

// Runs the five steps on `path`.  On the first failing step it releases what
// it held, shows the step's alert with showError and returns nullopt.  An
// unreadable connection diagnostic releases everything and returns nullopt
// without an alert ("Error calling SQLGetDiagRec!\n" is on standard error).
std::optional<DbConnection> openConnection(const std::string& path, const std::string& label,
                                           const OpenOptions& options = {});

// Releases the connection (see DbConnection::release).
void closeConnection(DbConnection& connection, bool afterResultSet);

// Diagnostic records of a handle on standard output, record 1, 2, ... until
// SQL_NO_DATA.  Connection form: message line, then state line.  Statement
// form: an empty line, the message, the state.  Returns false when
// SQLGetDiagRec failed otherwise, after writing "Error calling
// SQLGetDiagRec!\n" to standard error.
bool writeConnectionDiagnostics(SQLHDBC connection);
bool writeStatementDiagnostics(SQLHSTMT statement);
