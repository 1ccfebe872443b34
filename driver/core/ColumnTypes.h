// How the declared column types of a database map to ODBC SQL types, and what
// the driver reports about each of those types (SQLColumns, SQLDescribeCol,
// SQLColAttribute, SQLGetTypeInfo).
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>
#include <vector>

namespace mdblite {

struct SqlTypeInfo {
    SQLSMALLINT sqlType = SQL_VARCHAR; // concise type, e.g. SQL_TYPE_TIMESTAMP
    std::string typeName;              // the name shown to clients, e.g. "DATETIME"
    SQLULEN columnSize = 255;          // characters, digits or timestamp text length
    SQLLEN bufferLength = 255;         // bytes of the default C type
    SQLSMALLINT decimalDigits = 0;
    SQLSMALLINT radix = 0; // 10 for numbers, 0 otherwise
    SQLLEN displaySize = 255;
};

// Maps a declared column type ("TEXT(255)", "DATETIME", "MEMO", ...); an empty or
// unknown declaration maps to text.
SqlTypeInfo typeFromDeclaration(std::string_view declaredType);

// The info of a concise SQL type as this driver reports it.
SqlTypeInfo typeFromSqlType(SQLSMALLINT sqlType);

// The verbose type (SQL_DATETIME for timestamps) and the datetime subcode.
SQLSMALLINT verboseType(SQLSMALLINT sqlType);
SQLSMALLINT datetimeSubcode(SQLSMALLINT sqlType);

// The C type that SQL_C_DEFAULT means for a column of `sqlType`.
SQLSMALLINT defaultCType(SQLSMALLINT sqlType);

// True when `text` is exactly 'YYYY-MM-DD HH:MM:SS' in digits.
bool looksLikeTimestampText(std::string_view text);

// The types listed by SQLGetTypeInfo, ordered by SQL type.
struct ListedType {
    SqlTypeInfo info;
    const char* literalPrefix; // nullptr when none
    const char* literalSuffix;
    const char* createParams;
    bool caseSensitive;
    SQLSMALLINT searchable;
    bool isNumber;
};
const std::vector<ListedType>& listedTypes();

} // namespace mdblite
