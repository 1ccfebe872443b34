// ODBC entry points that allocate and free handles.
#include "EntryPoint.h"

using namespace mdblite;

namespace {

SQLRETURN allocEnvironment(SQLHANDLE* output) {
    if (!output)
        return SQL_ERROR;
    try {
        *output = new Environment();
        return SQL_SUCCESS;
    } catch (...) {
        *output = SQL_NULL_HENV;
        return SQL_ERROR;
    }
}

SQLRETURN allocConnection(SQLHANDLE environmentHandle, SQLHANDLE* output) {
    return withEnvironment(environmentHandle, [&](Environment& environment) -> SQLRETURN {
        if (!output)
            return environment.diag.error("HY009", "Invalid use of null pointer");
        *output = environment.allocConnection();
        return SQL_SUCCESS;
    });
}

SQLRETURN allocStatement(SQLHANDLE connectionHandle, SQLHANDLE* output) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        if (!output)
            return connection.diag.error("HY009", "Invalid use of null pointer");
        if (!connection.connected())
            return connection.diag.error("08003", "Connection not open");
        *output = connection.allocStatement();
        return SQL_SUCCESS;
    });
}

SQLRETURN freeEnvironment(SQLHANDLE handle) {
    Environment* environment = Environment::from(handle);
    if (!environment)
        return SQL_INVALID_HANDLE;
    std::unique_lock<std::mutex> guard(environment->callMutex());
    for (const auto& connection : environment->connections()) {
        if (connection->connected()) {
            environment->diag.clear();
            return environment->diag.error("HY010", "Function sequence error (a connection of "
                                                    "the environment is still open)");
        }
    }
    guard.unlock();
    delete environment;
    return SQL_SUCCESS;
}

SQLRETURN freeConnection(SQLHANDLE handle) {
    Connection* connection = Connection::from(handle);
    if (!connection)
        return SQL_INVALID_HANDLE;
    connection->diag.clear();
    std::lock_guard<std::mutex> guard(connection->environment().callMutex());
    if (!connection->environment().freeConnection(connection))
        return connection->diag.error("HY010", "Function sequence error (disconnect first)");
    return SQL_SUCCESS;
}

SQLRETURN freeStatement(SQLHANDLE handle) {
    Statement* statement = Statement::from(handle);
    if (!statement)
        return SQL_INVALID_HANDLE;
    Connection& connection = statement->connection();
    std::lock_guard<std::mutex> guard(connection.callMutex());
    connection.freeStatement(statement);
    return SQL_SUCCESS;
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT handleType, SQLHANDLE inputHandle,
                                 SQLHANDLE* outputHandle) {
    switch (handleType) {
    case SQL_HANDLE_ENV:
        return allocEnvironment(outputHandle);
    case SQL_HANDLE_DBC:
        return allocConnection(inputHandle, outputHandle);
    case SQL_HANDLE_STMT:
        return allocStatement(inputHandle, outputHandle);
    default:
        // Explicit descriptors are not offered.
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLAllocEnv(SQLHENV* environmentHandle) {
    return allocEnvironment(environmentHandle);
}

SQLRETURN SQL_API SQLAllocConnect(SQLHENV environmentHandle, SQLHDBC* connectionHandle) {
    return allocConnection(environmentHandle, connectionHandle);
}

SQLRETURN SQL_API SQLAllocStmt(SQLHDBC connectionHandle, SQLHSTMT* statementHandle) {
    return allocStatement(connectionHandle, statementHandle);
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT handleType, SQLHANDLE handle) {
    switch (handleType) {
    case SQL_HANDLE_ENV:
        return freeEnvironment(handle);
    case SQL_HANDLE_DBC:
        return freeConnection(handle);
    case SQL_HANDLE_STMT:
        return freeStatement(handle);
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeEnv(SQLHENV environmentHandle) {
    return freeEnvironment(environmentHandle);
}

SQLRETURN SQL_API SQLFreeConnect(SQLHDBC connectionHandle) {
    return freeConnection(connectionHandle);
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT statementHandle, SQLUSMALLINT option) {
    if (option == SQL_DROP)
        return freeStatement(statementHandle);
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        switch (option) {
        case SQL_CLOSE:
            statement.closeCursor();
            return SQL_SUCCESS;
        case SQL_UNBIND:
            statement.unbindColumns();
            return SQL_SUCCESS;
        case SQL_RESET_PARAMS:
            statement.resetParameters();
            return SQL_SUCCESS;
        default:
            return statement.diag.error("HY092", "Invalid attribute/option identifier (" +
                                                     std::to_string(option) + ")");
        }
    });
}

} // extern "C"
