// Binding the values of a statement's parameters (SQLBindParameter) to its
// prepared SQLite statement when it runs.
#include "Parameters.h"

#include "Conversion.h"
#include "Diagnostics.h"
#include "SqliteErrors.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace mdblite {

namespace {

std::string canonicalTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    char text[64]; // room for any field values, though valid ones need 20
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", ts.year, ts.month, ts.day,
                  ts.hour, ts.minute, ts.second);
    return text;
}

template <typename T> T readAs(const void* value) {
    T result;
    std::memcpy(&result, value, sizeof result);
    return result;
}

template <typename T> const T* offsetPointer(const T* pointer, const SQLLEN* offset) {
    if (!pointer || !offset)
        return pointer;
    return reinterpret_cast<const T*>(reinterpret_cast<const char*>(pointer) + *offset);
}

} // namespace

SQLRETURN bindParameterValue(sqlite3_stmt* statement, int number, const BoundParameter& p,
                             const SQLLEN* bindOffset, Diagnostics& diag) {
    const void* value = offsetPointer(static_cast<const char*>(p.value), bindOffset);
    const SQLLEN* indicator = offsetPointer(p.indicator, bindOffset);
    int rc = SQLITE_OK;
    if ((indicator && *indicator == SQL_NULL_DATA) || !value) {
        rc = sqlite3_bind_null(statement, number);
    } else if (indicator &&
               (*indicator == SQL_DATA_AT_EXEC || *indicator <= SQL_LEN_DATA_AT_EXEC_OFFSET)) {
        return diag.error("HYC00", "Optional feature not implemented (data at execution)");
    } else {
        const SQLSMALLINT cType = p.cType == SQL_C_DEFAULT ? defaultCType(p.sqlType) : p.cType;
        const bool nts = !indicator || *indicator == SQL_NTS;
        switch (cType) {
        case SQL_C_CHAR: {
            const char* text = static_cast<const char*>(value);
            std::string s = nts ? std::string(text) : std::string(text, *indicator);
            SQL_TIMESTAMP_STRUCT ts{};
            if ((p.sqlType == SQL_TYPE_TIMESTAMP || p.sqlType == SQL_TYPE_DATE) &&
                parseTimestamp(s, ts))
                s = canonicalTimestamp(ts);
            rc = sqlite3_bind_text64(statement, number, s.data(), s.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        case SQL_C_WCHAR: {
            const auto* wide = static_cast<const SQLWCHAR*>(value);
            size_t units = 0;
            if (nts)
                while (wide[units])
                    ++units;
            else
                units = static_cast<size_t>(*indicator) / sizeof(SQLWCHAR);
            std::string s = utf16ToUtf8(wide, units);
            rc = sqlite3_bind_text64(statement, number, s.data(), s.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        case SQL_C_BINARY:
            rc = sqlite3_bind_blob64(statement, number, value,
                                     indicator ? static_cast<sqlite3_uint64>(*indicator) : 0,
                                     SQLITE_TRANSIENT);
            break;
        case SQL_C_SLONG:
        case SQL_C_LONG:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLINTEGER>(value));
            break;
        case SQL_C_ULONG:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLUINTEGER>(value));
            break;
        case SQL_C_SSHORT:
        case SQL_C_SHORT:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLSMALLINT>(value));
            break;
        case SQL_C_USHORT:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLUSMALLINT>(value));
            break;
        case SQL_C_STINYINT:
        case SQL_C_TINYINT:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLSCHAR>(value));
            break;
        case SQL_C_UTINYINT:
        case SQL_C_BIT:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLCHAR>(value));
            break;
        case SQL_C_SBIGINT:
            rc = sqlite3_bind_int64(statement, number, readAs<SQLBIGINT>(value));
            break;
        case SQL_C_UBIGINT:
            rc = sqlite3_bind_int64(statement, number,
                                    static_cast<sqlite3_int64>(readAs<SQLUBIGINT>(value)));
            break;
        case SQL_C_DOUBLE:
            rc = sqlite3_bind_double(statement, number, readAs<SQLDOUBLE>(value));
            break;
        case SQL_C_FLOAT:
            rc = sqlite3_bind_double(statement, number, readAs<SQLREAL>(value));
            break;
        case SQL_C_TYPE_TIMESTAMP:
        case SQL_C_TIMESTAMP: {
            std::string s = canonicalTimestamp(readAs<SQL_TIMESTAMP_STRUCT>(value));
            rc = sqlite3_bind_text64(statement, number, s.data(), s.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        case SQL_C_TYPE_DATE:
        case SQL_C_DATE: {
            auto date = readAs<SQL_DATE_STRUCT>(value);
            SQL_TIMESTAMP_STRUCT ts{date.year, date.month, date.day, 0, 0, 0, 0};
            std::string s = canonicalTimestamp(ts);
            rc = sqlite3_bind_text64(statement, number, s.data(), s.size(), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        default:
            return diag.error("HYC00", "Optional feature not implemented (parameter of C "
                                       "type " +
                                           std::to_string(cType) + ")");
        }
    }
    if (rc != SQLITE_OK) {
        reportSqliteError(sqlite3_db_handle(statement), rc, SqlitePhase::Run, diag);
        return SQL_ERROR;
    }
    return SQL_SUCCESS;
}

} // namespace mdblite
