// Helpers for the driver's tests: temporary folders, databases made with the
// SQLite C API in the layout the database tool writes, and small owning
// wrappers around ODBC handles that go through the real driver manager.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

namespace drivertest {

using Cell = std::optional<std::string>; // nullopt is NULL
using Row = std::vector<Cell>;
using Rows = std::vector<Row>;

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The columns of StockTable as the database tool makes it.
const std::vector<std::string>& stockColumns();

// A StockTable row: key from the place, the given date text ('YYYY-MM-DD
// HH:MM:SS') and values derived from `n`.
Row stockRow(const std::string& rack, const std::string& box, const std::string& position,
             const Cell& date, const std::string& strain = "DH5alpha",
             const Cell& comments = std::nullopt);

// Creates `path` holding StockTable with `rows`, using the SQLite C API.
void createStockDatabase(const std::string& path, const Rows& rows);

// Runs SQL straight on the file (setup and checks that bypass the driver).
void sqliteExec(const std::string& path, const std::string& sql);
Rows sqliteQuery(const std::string& path, const std::string& sql);

// Writes `bytes` into a new file.
void writeFile(const std::string& path, const std::string& bytes);

struct DiagRecord {
    std::string state;
    std::string message;
};

// Every diagnostic record of a handle, read with SQLGetDiagRec until SQL_NO_DATA.
std::vector<DiagRecord> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// An ODBC 3 environment and one connection made the way the program makes it.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // SQLDriverConnect with "DBQ=<path>;DRIVER={Microsoft Access Driver (*.mdb)};".
    SQLRETURN open(const std::string& path);
    void close();

    SQLHENV env() const { return env_; }
    SQLHDBC dbc() const { return dbc_; }
    std::vector<DiagRecord> diagnostics() const;

private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
};

// A statement handle on a connection, freed with the object.
class Statement {
public:
    explicit Statement(const Connection& connection);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    SQLHSTMT handle() const { return stmt_; }
    std::vector<DiagRecord> diagnostics() const;

    // SQLExecDirect with the text's byte length.
    SQLRETURN execute(const std::string& sql);

private:
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

// What a statement gave back: its result, rows fetched into 256-byte SQL_C_CHAR
// buffers (NULL as nullopt), and the diagnostics of a failure.
struct Outcome {
    SQLRETURN rc = SQL_ERROR;
    Rows rows;
    SQLLEN rowCount = -1;
    std::vector<DiagRecord> diags;

    bool ok() const { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }
    std::string state() const { return diags.empty() ? "" : diags.front().state; }
    std::string message() const { return diags.empty() ? "" : diags.front().message; }
};

// Runs `sql` on a new statement of `connection` and fetches every row.
Outcome run(const Connection& connection, const std::string& sql);

// Opens `path`, runs `sql`, closes: one operation of the program.
Outcome runOnce(const std::string& path, const std::string& sql);

// The first column of every row, NULL as "<NULL>".
std::vector<std::string> firstColumn(const Rows& rows);

} // namespace drivertest
