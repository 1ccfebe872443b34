// Helpers for the driver's tests.
#include "DriverTestSupport.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace drivertest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mdblite-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const std::vector<std::string>& stockColumns() {
    static const std::vector<std::string> columns = {
        "Index_ID", "Rack",     "Box",        "Position", "Strain",  "Plasmid",
        "Subunit",  "Mutation", "Antibiotic", "Dates_ID", "Comments"};
    return columns;
}

Row stockRow(const std::string& rack, const std::string& box, const std::string& position,
             const Cell& date, const std::string& strain, const Cell& comments) {
    return {rack + "_" + box + "_" + position,
            rack,
            box,
            position,
            strain,
            "pUC19",
            "alpha",
            "delta" + position,
            "Amp",
            date,
            comments};
}

namespace {

struct Database {
    explicit Database(const std::string& path, int flags) {
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path + ": " + sqlite3_errmsg(db));
    }
    ~Database() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

void check(sqlite3* db, int rc, const std::string& what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

} // namespace

void createStockDatabase(const std::string& path, const Rows& rows) {
    Database database(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3* db = database.db;
    check(db,
          sqlite3_exec(db,
                       "PRAGMA journal_mode=DELETE;"
                       "CREATE TABLE StockTable (Index_ID TEXT(255) PRIMARY KEY NOT NULL, "
                       "Rack TEXT, Box TEXT, Position TEXT, Strain TEXT, Plasmid TEXT, "
                       "Subunit TEXT, Mutation TEXT, Antibiotic TEXT, Dates_ID DATETIME, "
                       "Comments TEXT)",
                       nullptr, nullptr, nullptr),
          "create table");
    sqlite3_stmt* insert = nullptr;
    check(db,
          sqlite3_prepare_v2(db, "INSERT INTO StockTable VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1,
                             &insert, nullptr),
          "prepare insert");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Row& row : rows) {
        sqlite3_reset(insert);
        for (size_t i = 0; i < row.size(); ++i) {
            if (row[i])
                sqlite3_bind_text(insert, static_cast<int>(i + 1), row[i]->c_str(), -1,
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(insert, static_cast<int>(i + 1));
        }
        check(db, sqlite3_step(insert), "insert");
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
}

void sqliteExec(const std::string& path, const std::string& sql) {
    Database database(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    check(database.db, sqlite3_exec(database.db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

Rows sqliteQuery(const std::string& path, const std::string& sql) {
    Database database(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    check(database.db, sqlite3_prepare_v2(database.db, sql.c_str(), -1, &statement, nullptr), sql);
    Rows rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            row.push_back(text ? Cell(reinterpret_cast<const char*>(text)) : std::nullopt);
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::vector<DiagRecord> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<DiagRecord> records;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = "";
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = "";
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &native, message,
                                     sizeof message, &length);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
            break;
        records.push_back({reinterpret_cast<char*>(state), reinterpret_cast<char*>(message)});
    }
    return records;
}

Connection::Connection() {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
}

Connection::~Connection() {
    close();
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

SQLRETURN Connection::open(const std::string& path) {
    std::string text = "DBQ=" + path + ";DRIVER={Microsoft Access Driver (*.mdb)};";
    SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                                    nullptr, 0, nullptr, SQL_DRIVER_COMPLETE);
    connected_ = rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
    return rc;
}

void Connection::close() {
    if (connected_)
        SQLDisconnect(dbc_);
    connected_ = false;
}

std::vector<DiagRecord> Connection::diagnostics() const {
    return drivertest::diagnostics(SQL_HANDLE_DBC, dbc_);
}

Statement::Statement(const Connection& connection) {
    SQLAllocHandle(SQL_HANDLE_STMT, connection.dbc(), &stmt_);
}

Statement::~Statement() {
    if (stmt_ != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

std::vector<DiagRecord> Statement::diagnostics() const {
    return drivertest::diagnostics(SQL_HANDLE_STMT, stmt_);
}

SQLRETURN Statement::execute(const std::string& sql) {
    std::string text = sql;
    return SQLExecDirect(stmt_, reinterpret_cast<SQLCHAR*>(text.data()),
                         static_cast<SQLINTEGER>(text.size()));
}

Outcome run(const Connection& connection, const std::string& sql) {
    Statement statement(connection);
    Outcome outcome;
    outcome.rc = statement.execute(sql);
    if (outcome.rc != SQL_SUCCESS && outcome.rc != SQL_SUCCESS_WITH_INFO) {
        outcome.diags = statement.diagnostics();
        return outcome;
    }
    SQLRowCount(statement.handle(), &outcome.rowCount);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(statement.handle(), &columns);
    if (columns == 0)
        return outcome;
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(256));
    std::vector<SQLLEN> indicators(columns);
    for (SQLUSMALLINT c = 0; c < columns; ++c)
        SQLBindCol(statement.handle(), c + 1, SQL_C_CHAR, buffers[c].data(), 256, &indicators[c]);
    SQLRETURN rc;
    while ((rc = SQLFetch(statement.handle())) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        Row row;
        for (SQLUSMALLINT c = 0; c < columns; ++c)
            row.push_back(indicators[c] == SQL_NULL_DATA ? Cell() : Cell(buffers[c].data()));
        outcome.rows.push_back(row);
    }
    if (rc != SQL_NO_DATA) {
        outcome.rc = rc;
        outcome.diags = statement.diagnostics();
    }
    return outcome;
}

Outcome runOnce(const std::string& path, const std::string& sql) {
    Connection connection;
    SQLRETURN rc = connection.open(path);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
        Outcome failed;
        failed.rc = rc;
        failed.diags = connection.diagnostics();
        return failed;
    }
    return run(connection, sql);
}

std::vector<std::string> firstColumn(const Rows& rows) {
    std::vector<std::string> values;
    for (const Row& row : rows)
        values.push_back(row.empty() || !row[0] ? "<NULL>" : *row[0]);
    return values;
}

} // namespace drivertest
