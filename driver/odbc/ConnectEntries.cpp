// ODBC entry points that open and close connections and end transactions.
// A connection names its database file with DBQ, in the connection string or in
// the data source's entry of odbc.ini.
#include "ConnectionString.h"
#include "EntryPoint.h"

#include <odbcinst.h>

using namespace mdblite;

namespace {

// DBQ (or DATABASE) of a data source defined in odbc.ini; empty when none.
std::string databaseOfDataSource(const std::string& dataSource) {
    if (dataSource.empty())
        return {};
    char value[4096] = "";
    for (const char* key : {"DBQ", "Database"}) {
        SQLGetPrivateProfileString(dataSource.c_str(), key, "", value, sizeof value, "odbc.ini");
        if (value[0])
            return value;
    }
    return {};
}

SQLRETURN connectToDataSource(Connection& connection, const std::string& dataSource) {
    std::string path = databaseOfDataSource(dataSource);
    if (path.empty())
        return connection.diag.error("08001", "Cannot open the database: the data source '" +
                                                  dataSource + "' names no file (DBQ=path)");
    return connection.connect(path);
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLConnect(SQLHDBC connectionHandle, SQLCHAR* serverName, SQLSMALLINT nameLength1,
                             SQLCHAR* /*userName*/, SQLSMALLINT /*nameLength2*/,
                             SQLCHAR* /*authentication*/, SQLSMALLINT /*nameLength3*/) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        auto dataSource = textArgument(serverName, nameLength1);
        return connectToDataSource(connection, dataSource.value_or(""));
    });
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC connectionHandle, SQLHWND /*windowHandle*/,
                                   SQLCHAR* inConnectionString, SQLSMALLINT stringLength1,
                                   SQLCHAR* outConnectionString, SQLSMALLINT bufferLength,
                                   SQLSMALLINT* stringLength2Ptr, SQLUSMALLINT driverCompletion) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        switch (driverCompletion) {
        case SQL_DRIVER_NOPROMPT:
        case SQL_DRIVER_COMPLETE:
        case SQL_DRIVER_COMPLETE_REQUIRED:
        case SQL_DRIVER_PROMPT:
            break; // the driver never shows a window: every mode completes silently
        default:
            return connection.diag.error("HY110", "Invalid driver completion");
        }
        const std::string in = textArgument(inConnectionString, stringLength1).value_or("");
        const auto pairs = parseConnectionString(in);
        std::string completed = in;
        SQLRETURN rc = SQL_SUCCESS;
        auto dbq = pairs.find("DBQ");
        if (dbq != pairs.end()) {
            rc = connection.connect(dbq->second);
        } else {
            auto dsn = pairs.find("DSN");
            if (dsn == pairs.end())
                return connection.diag.error("08001", "Cannot open the database: the connection "
                                                      "string names no file (DBQ=path)");
            rc = connectToDataSource(connection, dsn->second);
            if (!completed.empty() && completed.back() != ';')
                completed += ';';
            completed += "DBQ=" + connection.path() + ";";
        }
        if (rc != SQL_SUCCESS)
            return rc;
        return copyText(completed, outConnectionString, bufferLength, stringLength2Ptr,
                        connection.diag);
    });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC connectionHandle) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        connection.disconnect();
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT completionType) {
    if (completionType != SQL_COMMIT && completionType != SQL_ROLLBACK) {
        return SQL_ERROR;
    }
    const bool commit = completionType == SQL_COMMIT;
    if (handleType == SQL_HANDLE_DBC)
        return withConnection(
            handle, [&](Connection& connection) { return connection.endTransaction(commit); });
    if (handleType == SQL_HANDLE_ENV)
        return withEnvironment(handle, [&](Environment& environment) -> SQLRETURN {
            SQLRETURN rc = SQL_SUCCESS;
            for (const auto& connection : environment.connections()) {
                std::lock_guard<std::mutex> guard(connection->callMutex());
                if (connection->endTransaction(commit) != SQL_SUCCESS) {
                    for (const auto& record : connection->diag.records())
                        environment.diag.append(record);
                    rc = SQL_ERROR;
                }
            }
            return rc;
        });
    return SQL_INVALID_HANDLE;
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC connectionHandle, SQLCHAR* inStatementText,
                               SQLINTEGER textLength1, SQLCHAR* outStatementText,
                               SQLINTEGER bufferLength, SQLINTEGER* textLength2Ptr) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        auto text = textArgument(inStatementText, textLength1);
        if (!text)
            return connection.diag.error("HY009", "Invalid use of null pointer");
        std::string sqliteSql;
        if (Statement::translate(*text, sqliteSql, connection.diag) != SQL_SUCCESS)
            return SQL_ERROR;
        return copyText(sqliteSql, outStatementText, bufferLength, textLength2Ptr, connection.diag);
    });
}

} // extern "C"
