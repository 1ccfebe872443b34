// Mapping of declared column types to ODBC SQL types.
#include "ColumnTypes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace mdblite {

namespace {

constexpr SQLULEN kLongTextSize = 1073741823; // what Access reports for memo fields

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool contains(const std::string& haystack, const char* needle) {
    return haystack.find(needle) != std::string::npos;
}

// The first number between parentheses, e.g. 50 in "VARCHAR(50)"; 0 when none.
SQLULEN declaredLength(const std::string& declaration) {
    auto open = declaration.find('(');
    if (open == std::string::npos)
        return 0;
    long value = std::strtol(declaration.c_str() + open + 1, nullptr, 10);
    return value > 0 ? static_cast<SQLULEN>(value) : 0;
}

SqlTypeInfo make(SQLSMALLINT sqlType, const char* name, SQLULEN size, SQLLEN bufferLength,
                 SQLSMALLINT radix, SQLLEN displaySize) {
    SqlTypeInfo info;
    info.sqlType = sqlType;
    info.typeName = name;
    info.columnSize = size;
    info.bufferLength = bufferLength;
    info.radix = radix;
    info.displaySize = displaySize;
    return info;
}

SqlTypeInfo textType(SQLULEN length) {
    SQLULEN size = length ? length : 255;
    return make(SQL_VARCHAR, "VARCHAR", size, static_cast<SQLLEN>(size), 0,
                static_cast<SQLLEN>(size));
}

} // namespace

SqlTypeInfo typeFromSqlType(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_LONGVARCHAR:
        return make(SQL_LONGVARCHAR, "LONGCHAR", kLongTextSize, kLongTextSize, 0, kLongTextSize);
    case SQL_TYPE_TIMESTAMP:
        return make(SQL_TYPE_TIMESTAMP, "DATETIME", 19, sizeof(SQL_TIMESTAMP_STRUCT), 0, 19);
    case SQL_INTEGER:
        return make(SQL_INTEGER, "INTEGER", 10, 4, 10, 11);
    case SQL_SMALLINT:
        return make(SQL_SMALLINT, "SMALLINT", 5, 2, 10, 6);
    case SQL_DOUBLE:
        return make(SQL_DOUBLE, "DOUBLE", 15, 8, 10, 24);
    case SQL_BIT:
        return make(SQL_BIT, "BIT", 1, 1, 0, 1);
    case SQL_LONGVARBINARY:
        return make(SQL_LONGVARBINARY, "LONGBINARY", kLongTextSize, kLongTextSize, 0,
                    kLongTextSize);
    default:
        return textType(255);
    }
}

SqlTypeInfo typeFromDeclaration(std::string_view declaredType) {
    const std::string d = upper(declaredType);
    if (contains(d, "MEMO") || contains(d, "LONGTEXT") || contains(d, "LONGCHAR"))
        return typeFromSqlType(SQL_LONGVARCHAR);
    if (contains(d, "DATE") || contains(d, "TIME"))
        return typeFromSqlType(SQL_TYPE_TIMESTAMP);
    if (contains(d, "BIT") || contains(d, "BOOL") || contains(d, "YESNO"))
        return typeFromSqlType(SQL_BIT);
    if (contains(d, "BLOB") || contains(d, "BINARY") || contains(d, "OLE") || contains(d, "IMAGE"))
        return typeFromSqlType(SQL_LONGVARBINARY);
    if (contains(d, "INT") || contains(d, "LONG") || contains(d, "COUNTER"))
        return typeFromSqlType(SQL_INTEGER);
    if (contains(d, "CHAR") || contains(d, "TEXT") || contains(d, "CLOB") || d.empty())
        return textType(declaredLength(d));
    if (contains(d, "REAL") || contains(d, "FLOA") || contains(d, "DOUB") || contains(d, "NUM") ||
        contains(d, "DEC") || contains(d, "CURRENCY"))
        return typeFromSqlType(SQL_DOUBLE);
    return textType(declaredLength(d));
}

SQLSMALLINT verboseType(SQLSMALLINT sqlType) {
    return sqlType == SQL_TYPE_TIMESTAMP ? SQL_DATETIME : sqlType;
}

SQLSMALLINT datetimeSubcode(SQLSMALLINT sqlType) {
    return sqlType == SQL_TYPE_TIMESTAMP ? SQL_CODE_TIMESTAMP : 0;
}

SQLSMALLINT defaultCType(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_INTEGER:
        return SQL_C_SLONG;
    case SQL_SMALLINT:
        return SQL_C_SSHORT;
    case SQL_DOUBLE:
        return SQL_C_DOUBLE;
    case SQL_BIT:
        return SQL_C_BIT;
    case SQL_TYPE_TIMESTAMP:
        return SQL_C_TYPE_TIMESTAMP;
    case SQL_LONGVARBINARY:
        return SQL_C_BINARY;
    default:
        return SQL_C_CHAR;
    }
}

bool looksLikeTimestampText(std::string_view text) {
    static const char pattern[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof pattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digitWanted = pattern[i] == '0';
        bool isDigit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (digitWanted ? !isDigit : text[i] != pattern[i])
            return false;
    }
    return true;
}

const std::vector<ListedType>& listedTypes() {
    static const std::vector<ListedType> types = {
        {typeFromSqlType(SQL_BIT), nullptr, nullptr, nullptr, false, SQL_PRED_BASIC, false},
        {typeFromSqlType(SQL_LONGVARBINARY), nullptr, nullptr, nullptr, false, SQL_PRED_NONE,
         false},
        {typeFromSqlType(SQL_LONGVARCHAR), "'", "'", nullptr, false, SQL_SEARCHABLE, false},
        {typeFromSqlType(SQL_INTEGER), nullptr, nullptr, nullptr, false, SQL_PRED_BASIC, true},
        {typeFromSqlType(SQL_SMALLINT), nullptr, nullptr, nullptr, false, SQL_PRED_BASIC, true},
        {typeFromSqlType(SQL_DOUBLE), nullptr, nullptr, nullptr, false, SQL_PRED_BASIC, true},
        {textType(255), "'", "'", "max length", false, SQL_SEARCHABLE, false},
        {typeFromSqlType(SQL_TYPE_TIMESTAMP), "#", "#", nullptr, false, SQL_PRED_BASIC, false},
    };
    return types;
}

} // namespace mdblite
