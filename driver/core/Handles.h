// The driver's handle objects behind the ODBC handles the driver manager holds:
// Environment owns Connections, a Connection owns its SQLite database and its
// Statements, a Statement owns its prepared SQLite statement and open cursor.
// Each object carries a tag so that a stray handle is refused, not followed.
//
// Threads: every call on a connection or on one of its statements holds the
// connection's call mutex, so its SQLite database (opened without SQLite's own
// per-call locking) is used by one thread at a time.
#pragma once

#include "Conversion.h"
#include "Diagnostics.h"
#include "ResultSet.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace mdblite {

class Connection;
class Statement;

enum class HandleTag : std::uint32_t {
    Environment = 0x6d64656e, // "mden"
    Connection = 0x6d646463,  // "mddc"
    Statement = 0x6d647374,   // "mdst"
    Descriptor = 0x6d646473,  // "mdds"
    Dead = 0,
};

class Environment {
public:
    Environment();
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // The object behind `handle`, or null when it is not a live environment.
    static Environment* from(SQLHANDLE handle);

    Connection* allocConnection();
    // Frees a connection of this environment; false when it is still connected.
    bool freeConnection(Connection* connection);
    const std::vector<std::unique_ptr<Connection>>& connections() const { return connections_; }

    // Held by every call on the environment and while a connection is freed.
    std::mutex& callMutex() { return callMutex_; }

    Diagnostics diag;
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;

private:
    std::mutex callMutex_;
    HandleTag tag_ = HandleTag::Environment;
    std::vector<std::unique_ptr<Connection>> connections_;
};

class Connection {
public:
    explicit Connection(Environment& environment);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    static Connection* from(SQLHANDLE handle);

    // Opens the database file; diagnostics (08001, 08002) go to `diag`.
    SQLRETURN connect(const std::string& path);
    // Frees every statement, rolls back an unfinished transaction, closes the file.
    void disconnect();
    bool connected() const { return db_ != nullptr; }

    Statement* allocStatement();
    void freeStatement(Statement* statement);

    // In manual-commit mode, opens a transaction unless one is open.
    SQLRETURN beginIfManual(Diagnostics& target);
    // Commits or rolls back the open transaction, if any.
    SQLRETURN endTransaction(bool commit);
    // Switching autocommit on commits an open transaction, as ODBC says.
    SQLRETURN setAutocommit(bool on);
    bool autocommit() const { return autocommit_; }

    sqlite3* db() const { return db_; }
    const std::string& path() const { return path_; }
    Environment& environment() { return environment_; }
    // Held by every call on the connection and on its statements.
    std::mutex& callMutex() { return callMutex_; }

    Diagnostics diag;
    SQLUINTEGER loginTimeout = 0;
    SQLUINTEGER connectionTimeout = 0;
    SQLUINTEGER accessMode = SQL_MODE_READ_WRITE;
    SQLUINTEGER metadataId = SQL_FALSE;

private:
    std::mutex callMutex_;
    HandleTag tag_ = HandleTag::Connection;
    Environment& environment_;
    sqlite3* db_ = nullptr;
    std::string path_;
    bool autocommit_ = true;
    std::vector<std::unique_ptr<Statement>> statements_;
};

// Stand-in for the four descriptors of a statement: the driver manager asks for
// their handles after each statement allocation; their fields are not exposed.
struct Descriptor {
    HandleTag tag = HandleTag::Descriptor;
    Statement* owner = nullptr;
};

struct BoundColumn {
    SQLUSMALLINT column = 0; // from 1
    CTarget target;
};

struct BoundParameter {
    SQLUSMALLINT number = 0; // from 1
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLPOINTER value = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
};

struct StatementAttributes {
    SQLULEN* rowsFetched = nullptr;
    SQLUSMALLINT* rowStatus = nullptr;
    SQLLEN* rowBindOffset = nullptr;
    SQLULEN rowBindType = SQL_BIND_BY_COLUMN;
    SQLULEN maxRows = 0;
    SQLULEN maxLength = 0;
    SQLULEN queryTimeout = 0;
    SQLULEN noScan = SQL_NOSCAN_OFF;
    SQLULEN retrieveData = SQL_RD_ON;
    SQLULEN metadataId = SQL_FALSE;
    SQLULEN* paramsProcessed = nullptr;
    SQLUSMALLINT* paramStatus = nullptr;
    SQLLEN* paramBindOffset = nullptr;
};

class Statement {
public:
    explicit Statement(Connection& connection);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    static Statement* from(SQLHANDLE handle);

    // Translates and prepares one Access-dialect statement.
    SQLRETURN prepare(std::string_view accessSql);
    // Runs the prepared statement; a query leaves a cursor open.
    SQLRETURN execute();
    // prepare + execute of one text.
    SQLRETURN executeDirect(std::string_view accessSql);
    // The SQLite SQL for an Access-dialect text (SQLNativeSql).
    static SQLRETURN translate(std::string_view accessSql, std::string& sqliteSql,
                               Diagnostics& diag);

    // Opens a cursor on rows built in memory (catalog functions).
    void openRows(std::unique_ptr<ResultSet> rows);

    // Moves to the next row and fills the bound columns.
    SQLRETURN fetch();
    // Reads one column of the current row (piecewise for texts).
    SQLRETURN getData(SQLUSMALLINT column, const CTarget& target);
    SQLRETURN bindColumn(SQLUSMALLINT column, const CTarget& target);
    void unbindColumns() { bound_.clear(); }

    SQLRETURN bindParameter(const BoundParameter& parameter);
    void resetParameters() { parameters_.clear(); }
    SQLSMALLINT parameterCount() const;

    void closeCursor();
    bool hasCursor() const { return cursor_ != nullptr; }
    bool isPrepared() const { return prepared_ != nullptr; }
    // Columns of the open cursor, or of the prepared statement when none is open.
    const std::vector<ColumnInfo>& columns();
    SQLLEN rowCount() const { return rowCount_; }
    // The number of the current row from 1, or 0 when the cursor is on none.
    SQLULEN currentRowNumber() const { return onRow_ ? rowsFetched_ : 0; }

    Connection& connection() { return connection_; }
    Descriptor* descriptor(SQLINTEGER attribute);

    Diagnostics diag;
    StatementAttributes attributes;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };

    SQLRETURN bindParameters();
    SQLRETURN fetchBoundColumns();

    HandleTag tag_ = HandleTag::Statement;
    Connection& connection_;
    std::unique_ptr<sqlite3_stmt, Finalizer> prepared_; // declared before cursor_:
    std::unique_ptr<ResultSet> cursor_;                 // the cursor goes first
    std::vector<ColumnInfo> preparedColumns_;
    bool preparedColumnsKnown_ = false;
    bool isChange_ = false; // INSERT, UPDATE or DELETE: SQLRowCount counts rows
    bool onRow_ = false;
    SQLULEN rowsFetched_ = 0;
    SQLLEN rowCount_ = -1;
    std::string receivedText_;
    std::vector<BoundColumn> bound_; // ordered by column
    std::vector<BoundParameter> parameters_;
    int pieceColumn_ = -1;
    PieceState piece_;
    Descriptor descriptors_[4];
};

} // namespace mdblite
