// ODBC entry points that read a handle's diagnostic records. They leave the
// records in place: a client may read them any number of times.
#include "EntryPoint.h"

#include <cstring>

using namespace mdblite;

namespace {

const Diagnostics* diagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle) {
    switch (handleType) {
    case SQL_HANDLE_ENV:
        if (Environment* environment = Environment::from(handle))
            return &environment->diag;
        return nullptr;
    case SQL_HANDLE_DBC:
        if (Connection* connection = Connection::from(handle))
            return &connection->diag;
        return nullptr;
    case SQL_HANDLE_STMT:
        if (Statement* statement = Statement::from(handle))
            return &statement->diag;
        return nullptr;
    default:
        return nullptr;
    }
}

// Classes and subclasses that ODBC defines rather than the SQL standard.
bool isOdbcState(const std::string& state, bool subclass) {
    const std::string cls = state.substr(0, 2);
    if (cls == "IM" || cls == "HY")
        return true;
    if (!subclass)
        return false;
    static const char* odbcSubclasses[] = {
        "01S00", "01S01", "01S02", "01S06", "01S07", "07S01", "08S01", "21S01",
        "21S02", "25S01", "25S02", "25S03", "42S01", "42S02", "42S11", "42S12",
        "42S21", "42S22", "HY095", "HY097", "HY098", "HY099", "HY100", "HY101",
        "HY105", "HY107", "HY109", "HY110", "HY111", "HYT00", "HYT01"};
    for (const char* known : odbcSubclasses)
        if (state == known)
            return true;
    return false;
}

template <typename T> SQLRETURN writeNumber(SQLPOINTER target, T value) {
    if (target)
        std::memcpy(target, &value, sizeof value);
    return SQL_SUCCESS;
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                SQLCHAR* sqlstate, SQLINTEGER* nativeError, SQLCHAR* messageText,
                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
    const Diagnostics* diag = diagnosticsOf(handleType, handle);
    if (!diag)
        return handleType == SQL_HANDLE_DESC ? SQL_NO_DATA : SQL_INVALID_HANDLE;
    if (recordNumber < 1 || bufferLength < 0)
        return SQL_ERROR;
    if (static_cast<size_t>(recordNumber) > diag->records().size())
        return SQL_NO_DATA;
    const DiagRecord& record = diag->records()[static_cast<size_t>(recordNumber) - 1];
    if (sqlstate) {
        std::memcpy(sqlstate, record.sqlstate.c_str(), 5);
        sqlstate[5] = '\0';
    }
    if (nativeError)
        *nativeError = record.nativeError;
    Diagnostics scratch; // a cut message must not add a record to the one read
    return copyText(record.message, messageText, bufferLength, textLength, scratch);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT handleType, SQLHANDLE handle,
                                  SQLSMALLINT recordNumber, SQLSMALLINT diagIdentifier,
                                  SQLPOINTER diagInfo, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength) {
    const Diagnostics* diag = diagnosticsOf(handleType, handle);
    if (!diag)
        return handleType == SQL_HANDLE_DESC ? SQL_NO_DATA : SQL_INVALID_HANDLE;
    Diagnostics scratch;
    auto text = [&](const std::string& value) {
        return copyText(value, diagInfo, bufferLength, stringLength, scratch);
    };
    switch (diagIdentifier) {
    case SQL_DIAG_NUMBER:
        return writeNumber<SQLINTEGER>(diagInfo, static_cast<SQLINTEGER>(diag->records().size()));
    case SQL_DIAG_RETURNCODE:
        return writeNumber<SQLRETURN>(diagInfo, diag->returnCode());
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT:
        if (handleType != SQL_HANDLE_STMT)
            return SQL_ERROR;
        return writeNumber<SQLLEN>(diagInfo, diag->rowCount());
    case SQL_DIAG_DYNAMIC_FUNCTION:
        if (handleType != SQL_HANDLE_STMT)
            return SQL_ERROR;
        return text("");
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        if (handleType != SQL_HANDLE_STMT)
            return SQL_ERROR;
        return writeNumber<SQLINTEGER>(diagInfo, SQL_DIAG_UNKNOWN_STATEMENT);
    default:
        break;
    }
    if (recordNumber < 1)
        return SQL_ERROR;
    if (static_cast<size_t>(recordNumber) > diag->records().size())
        return SQL_NO_DATA;
    const DiagRecord& record = diag->records()[static_cast<size_t>(recordNumber) - 1];
    switch (diagIdentifier) {
    case SQL_DIAG_SQLSTATE:
        return text(record.sqlstate);
    case SQL_DIAG_NATIVE:
        return writeNumber<SQLINTEGER>(diagInfo, record.nativeError);
    case SQL_DIAG_MESSAGE_TEXT:
        return text(record.message);
    case SQL_DIAG_CLASS_ORIGIN:
        return text(isOdbcState(record.sqlstate, false) ? "ODBC 3.0" : "ISO 9075");
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return text(isOdbcState(record.sqlstate, true) ? "ODBC 3.0" : "ISO 9075");
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return text("");
    case SQL_DIAG_COLUMN_NUMBER:
        return writeNumber<SQLINTEGER>(diagInfo, SQL_COLUMN_NUMBER_UNKNOWN);
    case SQL_DIAG_ROW_NUMBER:
        return writeNumber<SQLLEN>(diagInfo, SQL_ROW_NUMBER_UNKNOWN);
    default:
        return SQL_ERROR;
    }
}

} // extern "C"
