// ODBC entry points that set and read environment, connection and statement
// attributes. The driver keeps a forward-only, read-only cursor with one row per
// fetch; requests for other cursor kinds are answered with the nearest it has.
#include "EntryPoint.h"

#include <cstring>

using namespace mdblite;

namespace {

SQLULEN asNumber(SQLPOINTER value) {
    return static_cast<SQLULEN>(reinterpret_cast<std::uintptr_t>(value));
}

template <typename T> SQLRETURN writeNumber(SQLPOINTER target, T value) {
    if (target)
        std::memcpy(target, &value, sizeof value);
    return SQL_SUCCESS;
}

SQLRETURN optionChanged(Diagnostics& diag, const char* what) {
    return diag.warning("01S02", std::string("Option value changed (") + what + ")");
}

SQLRETURN invalidValue(Diagnostics& diag, SQLINTEGER attribute) {
    return diag.error("HY024",
                      "Invalid attribute value (for attribute " + std::to_string(attribute) + ")");
}

SQLRETURN unknownAttribute(Diagnostics& diag, SQLINTEGER attribute) {
    return diag.error("HY092",
                      "Invalid attribute/option identifier (" + std::to_string(attribute) + ")");
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV environmentHandle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*stringLength*/) {
    return withEnvironment(environmentHandle, [&](Environment& environment) -> SQLRETURN {
        switch (attribute) {
        case SQL_ATTR_ODBC_VERSION:
            if (asNumber(value) != SQL_OV_ODBC2 && asNumber(value) != SQL_OV_ODBC3 &&
                asNumber(value) != SQL_OV_ODBC3_80)
                return invalidValue(environment.diag, attribute);
            environment.odbcVersion = static_cast<SQLINTEGER>(asNumber(value));
            return SQL_SUCCESS;
        case SQL_ATTR_OUTPUT_NTS:
            if (asNumber(value) != SQL_TRUE)
                return environment.diag.error("HYC00", "Optional feature not implemented "
                                                       "(strings are always NUL-terminated)");
            return SQL_SUCCESS;
        case SQL_ATTR_CONNECTION_POOLING:
        case SQL_ATTR_CP_MATCH:
            return SQL_SUCCESS; // pooling belongs to the driver manager
        default:
            return unknownAttribute(environment.diag, attribute);
        }
    });
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV environmentHandle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER /*bufferLength*/, SQLINTEGER* stringLength) {
    return withEnvironment(environmentHandle, [&](Environment& environment) -> SQLRETURN {
        if (stringLength)
            *stringLength = sizeof(SQLINTEGER);
        switch (attribute) {
        case SQL_ATTR_ODBC_VERSION:
            return writeNumber<SQLINTEGER>(value, environment.odbcVersion);
        case SQL_ATTR_OUTPUT_NTS:
            return writeNumber<SQLINTEGER>(value, SQL_TRUE);
        case SQL_ATTR_CONNECTION_POOLING:
            return writeNumber<SQLUINTEGER>(value, SQL_CP_OFF);
        case SQL_ATTR_CP_MATCH:
            return writeNumber<SQLUINTEGER>(value, SQL_CP_STRICT_MATCH);
        default:
            return unknownAttribute(environment.diag, attribute);
        }
    });
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC connectionHandle, SQLINTEGER attribute,
                                    SQLPOINTER value, SQLINTEGER /*stringLength*/) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        const SQLULEN number = asNumber(value);
        switch (attribute) {
        case SQL_ATTR_AUTOCOMMIT:
            if (number != SQL_AUTOCOMMIT_ON && number != SQL_AUTOCOMMIT_OFF)
                return invalidValue(connection.diag, attribute);
            return connection.setAutocommit(number == SQL_AUTOCOMMIT_ON);
        case SQL_ATTR_ACCESS_MODE:
            if (number != SQL_MODE_READ_WRITE && number != SQL_MODE_READ_ONLY)
                return invalidValue(connection.diag, attribute);
            connection.accessMode = static_cast<SQLUINTEGER>(number);
            return SQL_SUCCESS;
        case SQL_ATTR_LOGIN_TIMEOUT:
            connection.loginTimeout = static_cast<SQLUINTEGER>(number);
            return SQL_SUCCESS;
        case SQL_ATTR_CONNECTION_TIMEOUT:
            connection.connectionTimeout = static_cast<SQLUINTEGER>(number);
            return SQL_SUCCESS;
        case SQL_ATTR_METADATA_ID:
            connection.metadataId = static_cast<SQLUINTEGER>(number);
            return SQL_SUCCESS;
        case SQL_ATTR_TXN_ISOLATION:
            if (number != SQL_TXN_SERIALIZABLE)
                return optionChanged(connection.diag, "transactions are serializable");
            return SQL_SUCCESS;
        case SQL_ATTR_ASYNC_ENABLE:
            if (number != SQL_ASYNC_ENABLE_OFF)
                return optionChanged(connection.diag, "no asynchronous execution");
            return SQL_SUCCESS;
        case SQL_ATTR_ANSI_APP:
        case SQL_ATTR_QUIET_MODE:
        case SQL_ATTR_PACKET_SIZE:
            return SQL_SUCCESS; // nothing to do for a file database
        default:
            return unknownAttribute(connection.diag, attribute);
        }
    });
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC connectionHandle, SQLINTEGER attribute,
                                    SQLPOINTER value, SQLINTEGER bufferLength,
                                    SQLINTEGER* stringLength) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        if (stringLength && attribute != SQL_ATTR_CURRENT_CATALOG)
            *stringLength = sizeof(SQLUINTEGER);
        switch (attribute) {
        case SQL_ATTR_AUTOCOMMIT:
            return writeNumber<SQLUINTEGER>(value, connection.autocommit() ? SQL_AUTOCOMMIT_ON
                                                                           : SQL_AUTOCOMMIT_OFF);
        case SQL_ATTR_ACCESS_MODE:
            return writeNumber<SQLUINTEGER>(value, connection.accessMode);
        case SQL_ATTR_LOGIN_TIMEOUT:
            return writeNumber<SQLUINTEGER>(value, connection.loginTimeout);
        case SQL_ATTR_CONNECTION_TIMEOUT:
            return writeNumber<SQLUINTEGER>(value, connection.connectionTimeout);
        case SQL_ATTR_METADATA_ID:
            return writeNumber<SQLUINTEGER>(value, connection.metadataId);
        case SQL_ATTR_TXN_ISOLATION:
            return writeNumber<SQLUINTEGER>(value, SQL_TXN_SERIALIZABLE);
        case SQL_ATTR_ASYNC_ENABLE:
            return writeNumber<SQLULEN>(value, SQL_ASYNC_ENABLE_OFF);
        case SQL_ATTR_AUTO_IPD:
            return writeNumber<SQLUINTEGER>(value, SQL_FALSE);
        case SQL_ATTR_PACKET_SIZE:
            return writeNumber<SQLUINTEGER>(value, 0);
        case SQL_ATTR_CONNECTION_DEAD:
            return writeNumber<SQLUINTEGER>(value,
                                            connection.connected() ? SQL_CD_FALSE : SQL_CD_TRUE);
        case SQL_ATTR_CURRENT_CATALOG: {
            SQLINTEGER length = 0;
            SQLRETURN rc =
                copyText(connection.path(), value, bufferLength, &length, connection.diag);
            if (stringLength)
                *stringLength = length;
            return rc;
        }
        default:
            return unknownAttribute(connection.diag, attribute);
        }
    });
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT statementHandle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER /*stringLength*/) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        StatementAttributes& a = statement.attributes;
        const SQLULEN number = asNumber(value);
        switch (attribute) {
        case SQL_ATTR_ROW_ARRAY_SIZE:
        case SQL_ROWSET_SIZE:
            return number == 1 ? SQL_SUCCESS : optionChanged(statement.diag, "one row per fetch");
        case SQL_ATTR_PARAMSET_SIZE:
            return number == 1 ? SQL_SUCCESS
                               : optionChanged(statement.diag, "one parameter set per execute");
        case SQL_ATTR_ROWS_FETCHED_PTR:
            a.rowsFetched = static_cast<SQLULEN*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_ROW_STATUS_PTR:
            a.rowStatus = static_cast<SQLUSMALLINT*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_ROW_BIND_OFFSET_PTR:
            a.rowBindOffset = static_cast<SQLLEN*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_ROW_BIND_TYPE:
            a.rowBindType = number; // with one row per fetch any binding layout reads alike
            return SQL_SUCCESS;
        case SQL_ATTR_PARAMS_PROCESSED_PTR:
            a.paramsProcessed = static_cast<SQLULEN*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_PARAM_STATUS_PTR:
            a.paramStatus = static_cast<SQLUSMALLINT*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
            a.paramBindOffset = static_cast<SQLLEN*>(value);
            return SQL_SUCCESS;
        case SQL_ATTR_PARAM_BIND_TYPE:
            return SQL_SUCCESS;
        case SQL_ATTR_MAX_ROWS:
            a.maxRows = number;
            return SQL_SUCCESS;
        case SQL_ATTR_MAX_LENGTH:
            a.maxLength = number;
            return SQL_SUCCESS;
        case SQL_ATTR_QUERY_TIMEOUT:
            a.queryTimeout = number;
            return SQL_SUCCESS;
        case SQL_ATTR_NOSCAN:
            a.noScan = number;
            return SQL_SUCCESS;
        case SQL_ATTR_RETRIEVE_DATA:
            a.retrieveData = number;
            return SQL_SUCCESS;
        case SQL_ATTR_METADATA_ID:
            a.metadataId = number;
            return SQL_SUCCESS;
        case SQL_ATTR_CURSOR_TYPE:
            return number == SQL_CURSOR_FORWARD_ONLY
                       ? SQL_SUCCESS
                       : optionChanged(statement.diag, "the cursor is forward-only");
        case SQL_ATTR_CONCURRENCY:
            return number == SQL_CONCUR_READ_ONLY
                       ? SQL_SUCCESS
                       : optionChanged(statement.diag, "the cursor is read-only");
        case SQL_ATTR_CURSOR_SENSITIVITY:
            return number == SQL_INSENSITIVE || number == SQL_UNSPECIFIED
                       ? SQL_SUCCESS
                       : optionChanged(statement.diag, "the cursor is insensitive");
        case SQL_ATTR_KEYSET_SIZE:
        case SQL_ATTR_SIMULATE_CURSOR:
            return SQL_SUCCESS;
        case SQL_ATTR_CURSOR_SCROLLABLE:
        case SQL_ATTR_USE_BOOKMARKS:
        case SQL_ATTR_ASYNC_ENABLE:
        case SQL_ATTR_ENABLE_AUTO_IPD:
            if (number != 0)
                return statement.diag.error("HYC00", "Optional feature not implemented");
            return SQL_SUCCESS;
        case SQL_ATTR_APP_ROW_DESC:
        case SQL_ATTR_APP_PARAM_DESC:
            if (value && value != statement.descriptor(attribute))
                return statement.diag.error("HYC00", "Optional feature not implemented "
                                                     "(explicit descriptors)");
            return SQL_SUCCESS;
        default:
            return unknownAttribute(statement.diag, attribute);
        }
    });
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT statementHandle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER /*bufferLength*/, SQLINTEGER* stringLength) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        const StatementAttributes& a = statement.attributes;
        if (stringLength)
            *stringLength = sizeof(SQLULEN);
        switch (attribute) {
        case SQL_ATTR_APP_ROW_DESC:
        case SQL_ATTR_APP_PARAM_DESC:
        case SQL_ATTR_IMP_ROW_DESC:
        case SQL_ATTR_IMP_PARAM_DESC:
            return writeNumber<SQLPOINTER>(value, statement.descriptor(attribute));
        case SQL_ATTR_ROW_ARRAY_SIZE:
        case SQL_ROWSET_SIZE:
        case SQL_ATTR_PARAMSET_SIZE:
            return writeNumber<SQLULEN>(value, 1);
        case SQL_ATTR_ROWS_FETCHED_PTR:
            return writeNumber<SQLPOINTER>(value, a.rowsFetched);
        case SQL_ATTR_ROW_STATUS_PTR:
            return writeNumber<SQLPOINTER>(value, a.rowStatus);
        case SQL_ATTR_ROW_BIND_OFFSET_PTR:
            return writeNumber<SQLPOINTER>(value, a.rowBindOffset);
        case SQL_ATTR_ROW_BIND_TYPE:
            return writeNumber<SQLULEN>(value, a.rowBindType);
        case SQL_ATTR_PARAMS_PROCESSED_PTR:
            return writeNumber<SQLPOINTER>(value, a.paramsProcessed);
        case SQL_ATTR_PARAM_STATUS_PTR:
            return writeNumber<SQLPOINTER>(value, a.paramStatus);
        case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
            return writeNumber<SQLPOINTER>(value, a.paramBindOffset);
        case SQL_ATTR_PARAM_BIND_TYPE:
            return writeNumber<SQLULEN>(value, SQL_PARAM_BIND_BY_COLUMN);
        case SQL_ATTR_MAX_ROWS:
            return writeNumber<SQLULEN>(value, a.maxRows);
        case SQL_ATTR_MAX_LENGTH:
            return writeNumber<SQLULEN>(value, a.maxLength);
        case SQL_ATTR_QUERY_TIMEOUT:
            return writeNumber<SQLULEN>(value, a.queryTimeout);
        case SQL_ATTR_NOSCAN:
            return writeNumber<SQLULEN>(value, a.noScan);
        case SQL_ATTR_RETRIEVE_DATA:
            return writeNumber<SQLULEN>(value, a.retrieveData);
        case SQL_ATTR_METADATA_ID:
            return writeNumber<SQLULEN>(value, a.metadataId);
        case SQL_ATTR_CURSOR_TYPE:
            return writeNumber<SQLULEN>(value, SQL_CURSOR_FORWARD_ONLY);
        case SQL_ATTR_CONCURRENCY:
            return writeNumber<SQLULEN>(value, SQL_CONCUR_READ_ONLY);
        case SQL_ATTR_CURSOR_SENSITIVITY:
            return writeNumber<SQLULEN>(value, SQL_INSENSITIVE);
        case SQL_ATTR_CURSOR_SCROLLABLE:
            return writeNumber<SQLULEN>(value, SQL_NONSCROLLABLE);
        case SQL_ATTR_USE_BOOKMARKS:
            return writeNumber<SQLULEN>(value, SQL_UB_OFF);
        case SQL_ATTR_ASYNC_ENABLE:
            return writeNumber<SQLULEN>(value, SQL_ASYNC_ENABLE_OFF);
        case SQL_ATTR_ENABLE_AUTO_IPD:
            return writeNumber<SQLULEN>(value, SQL_FALSE);
        case SQL_ATTR_KEYSET_SIZE:
            return writeNumber<SQLULEN>(value, 0);
        case SQL_ATTR_SIMULATE_CURSOR:
            return writeNumber<SQLULEN>(value, SQL_SC_UNIQUE);
        case SQL_ATTR_ROW_NUMBER:
            return writeNumber<SQLULEN>(value, statement.currentRowNumber());
        default:
            return unknownAttribute(statement.diag, attribute);
        }
    });
}

} // extern "C"
