// ODBC entry points that prepare and run statements and bind their parameters.
#include "EntryPoint.h"

using namespace mdblite;

extern "C" {

SQLRETURN SQL_API SQLPrepare(SQLHSTMT statementHandle, SQLCHAR* statementText,
                             SQLINTEGER textLength) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        auto text = textArgument(statementText, textLength);
        if (!text)
            return statement.diag.error("HY009", "Invalid use of null pointer");
        return statement.prepare(*text);
    });
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT statementHandle) {
    return withStatement(statementHandle,
                         [&](Statement& statement) { return statement.execute(); });
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT statementHandle, SQLCHAR* statementText,
                                SQLINTEGER textLength) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        auto text = textArgument(statementText, textLength);
        if (!text)
            return statement.diag.error("HY009", "Invalid use of null pointer");
        return statement.executeDirect(*text);
    });
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT statementHandle, SQLSMALLINT* parameterCount) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (parameterCount)
            *parameterCount = statement.parameterCount();
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT statementHandle, SQLUSMALLINT parameterNumber,
                                   SQLSMALLINT inputOutputType, SQLSMALLINT valueType,
                                   SQLSMALLINT parameterType, SQLULEN /*columnSize*/,
                                   SQLSMALLINT /*decimalDigits*/, SQLPOINTER parameterValue,
                                   SQLLEN bufferLength, SQLLEN* strLenOrInd) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (inputOutputType != SQL_PARAM_INPUT)
            return statement.diag.error("HYC00", "Optional feature not implemented (only input "
                                                 "parameters)");
        BoundParameter parameter;
        parameter.number = parameterNumber;
        parameter.cType = valueType;
        parameter.sqlType = parameterType;
        parameter.value = parameterValue;
        parameter.bufferLength = bufferLength;
        parameter.indicator = strLenOrInd;
        return statement.bindParameter(parameter);
    });
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT statementHandle, SQLLEN* rowCount) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (rowCount)
            *rowCount = statement.rowCount();
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT statementHandle) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        // Every statement has at most one result set.
        statement.closeCursor();
        return SQL_NO_DATA;
    });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT statementHandle) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (!statement.hasCursor())
            return statement.diag.error("24000", "Invalid cursor state (no cursor is open)");
        statement.closeCursor();
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT statementHandle) {
    return withStatement(statementHandle, [&](Statement&) -> SQLRETURN {
        // Statements run synchronously and take no data at execution, so a
        // cancel from the calling thread has nothing to stop.
        return SQL_SUCCESS;
    });
}

} // extern "C"
