// Files made by the tool, read back through the unixODBC driver manager and
// the project's driver with the connection string the program uses.
#include "TempFolder.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

#include <sys/stat.h>

using namespace rackbook::test;

namespace {

// One ODBC handle, freed when it goes out of scope.
class OdbcHandle {
public:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_)))
            handle_ = SQL_NULL_HANDLE;
    }
    ~OdbcHandle() {
        if (handle_ != SQL_NULL_HANDLE)
            SQLFreeHandle(type_, handle_);
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    SQLHANDLE get() const { return handle_; }

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    SQLCHAR state[6] = {};
    SQLCHAR message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length)))
        return "(no diagnostics)";
    return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

// A connection to one database file as the program opens it, for one test.
class OdbcFile {
public:
    explicit OdbcFile(const std::string& path)
        : env_(SQL_HANDLE_ENV, SQL_NULL_HANDLE), dbc_(SQL_HANDLE_DBC, prepareEnvironment()) {
        std::string text = "DBQ=" + path + ";DRIVER={Microsoft Access Driver (*.mdb)};";
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        SQLRETURN rc =
            SQLDriverConnect(dbc_.get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                             out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
        connected_ = SQL_SUCCEEDED(rc);
        if (!connected_)
            error_ = diagnostics(SQL_HANDLE_DBC, dbc_.get());
    }
    ~OdbcFile() {
        if (connected_)
            SQLDisconnect(dbc_.get());
    }

    bool connected() const { return connected_; }
    const std::string& error() const { return error_; }

    // Every row of `sql`, each column fetched as text; NULL stays nothing.
    std::vector<Row> rows(const std::string& sql) {
        OdbcHandle stmt(SQL_HANDLE_STMT, dbc_.get());
        std::string text = sql;
        if (!SQL_SUCCEEDED(
                SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
            ADD_FAILURE() << sql << ": " << diagnostics(SQL_HANDLE_STMT, stmt.get());
            return {};
        }
        SQLSMALLINT columns = 0;
        SQLNumResultCols(stmt.get(), &columns);
        std::vector<Row> out;
        while (SQL_SUCCEEDED(SQLFetch(stmt.get()))) {
            Row row;
            for (SQLUSMALLINT c = 1; c <= columns; ++c)
                row.push_back(cell(stmt.get(), c));
            out.push_back(row);
        }
        return out;
    }

private:
    SQLHANDLE prepareEnvironment() {
        SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                      0);
        return env_.get();
    }

    // Reads a text of any length in pieces.
    static std::optional<std::string> cell(SQLHSTMT stmt, SQLUSMALLINT column) {
        std::string value;
        char buffer[256];
        for (;;) {
            SQLLEN indicator = 0;
            SQLRETURN rc = SQLGetData(stmt, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc)) {
                ADD_FAILURE() << "SQLGetData: " << diagnostics(SQL_HANDLE_STMT, stmt);
                break;
            }
            if (indicator == SQL_NULL_DATA)
                return std::nullopt;
            value += buffer;
            if (rc == SQL_SUCCESS)
                break;
        }
        return value;
    }

    OdbcHandle env_;
    OdbcHandle dbc_;
    bool connected_ = false;
    std::string error_;
};

TEST(ToolFilesThroughOdbc, DemoRecordsReadBackAsStored) {
    TempFolder folder;
    std::string db = folder.file("demo.mdb");
    ASSERT_EQ(runInProcess({"demo", db, "--records", "300", "--seed", "11"}).status, 0);
    OdbcFile odbc(db);
    ASSERT_TRUE(odbc.connected()) << odbc.error();
    auto viaOdbc = odbc.rows("SELECT * FROM StockTable ORDER BY Index_ID");
    auto direct = query(db, "SELECT * FROM StockTable ORDER BY Index_ID");
    ASSERT_EQ(viaOdbc.size(), 300u);
    EXPECT_EQ(viaOdbc, direct);
    EXPECT_EQ(odbc.rows("SELECT count(*) FROM StockTable WHERE Dates_ID between #2005-01-01# "
                        "and #2005-12-31#"),
              query(db, "SELECT count(*) FROM StockTable WHERE Dates_ID between '2005-01-01' "
                        "and '2005-12-31 23:59:59'"));
}

TEST(ToolFilesThroughOdbc, CreatedDatabaseHoldsTheDummyItem) {
    TempFolder folder;
    std::string db = folder.file("new.mdb");
    ASSERT_EQ(runInProcess({"create", db}).status, 0);
    OdbcFile odbc(db);
    ASSERT_TRUE(odbc.connected()) << odbc.error();
    auto rows = odbc.rows("SELECT Index_ID, Rack, Box, Position, Strain FROM StockTable");
    EXPECT_EQ(rows, (std::vector<Row>{{"1_1_1", "1", "1", "1", "dummy item"}}));
}

TEST(ToolFilesThroughOdbc, ImportedAccessDatesKeepTheirValue) {
    std::string source = RACKBOOK_TESTDATA "/DateTestDatabase.mdb";
    struct stat info {};
    if (stat(source.c_str(), &info) != 0)
        GTEST_SKIP() << source << " is not there";
    TempFolder folder;
    std::string db = folder.file("dates.mdb");
    ASSERT_EQ(runInProcess({"import-mdb", source, db, "--table", "DateTest"}).status, 0);
    OdbcFile odbc(db);
    ASSERT_TRUE(odbc.connected()) << odbc.error();
    EXPECT_EQ(odbc.rows("SELECT IDCol, DateTimeCol, LongTextCol FROM DateTest WHERE IDCol = 4 "
                        "or IDCol = 6 ORDER BY IDCol"),
              (std::vector<Row>{{"4", "0632-01-01 00:00:00", "Pre-1000 years"},
                                {"6", "2021-12-02 00:00:00", "New line\r\nin field"}}));
    EXPECT_EQ(odbc.rows("SELECT MIN(DateTimeCol), MAX(DateTimeCol) FROM DateTest"),
              (std::vector<Row>{{"0632-01-01 00:00:00", "9999-01-01 00:00:00"}}));
}

} // namespace
