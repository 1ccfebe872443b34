// ODBC entry points that describe result columns and fetch rows.
#include "EntryPoint.h"

using namespace mdblite;

namespace {

// The column `column` (from 1) of the statement's result, or null with 07009.
const ColumnInfo* resultColumn(Statement& statement, SQLUSMALLINT column) {
    const std::vector<ColumnInfo>& columns = statement.columns();
    if (column == 0 || column > columns.size()) {
        statement.diag.add("07009", "Invalid descriptor index (column " + std::to_string(column) +
                                        " of " + std::to_string(columns.size()) + ")");
        return nullptr;
    }
    return &columns[column - 1];
}

bool isTextType(SQLSMALLINT sqlType) {
    return sqlType == SQL_VARCHAR || sqlType == SQL_LONGVARCHAR;
}

// SQL_DESC_PRECISION: digits for numbers, characters for texts, the fraction
// digits (none) for timestamps.
SQLLEN precisionOf(const SqlTypeInfo& type) {
    if (type.sqlType == SQL_TYPE_TIMESTAMP)
        return 0;
    return static_cast<SQLLEN>(type.columnSize);
}

const char* literalPrefix(SQLSMALLINT sqlType) {
    if (isTextType(sqlType))
        return "'";
    return sqlType == SQL_TYPE_TIMESTAMP ? "#" : "";
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT statementHandle, SQLSMALLINT* columnCount) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (columnCount)
            *columnCount = static_cast<SQLSMALLINT>(statement.columns().size());
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT statementHandle, SQLUSMALLINT columnNumber,
                                 SQLCHAR* columnName, SQLSMALLINT bufferLength,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* dataType,
                                 SQLULEN* columnSize, SQLSMALLINT* decimalDigits,
                                 SQLSMALLINT* nullable) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        const ColumnInfo* info = resultColumn(statement, columnNumber);
        if (!info)
            return SQL_ERROR;
        if (dataType)
            *dataType = info->type.sqlType;
        if (columnSize)
            *columnSize = info->type.columnSize;
        if (decimalDigits)
            *decimalDigits = info->type.decimalDigits;
        if (nullable)
            *nullable = info->nullable;
        return copyText(info->name, columnName, bufferLength, nameLength, statement.diag);
    });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT statementHandle, SQLUSMALLINT columnNumber,
                                  SQLUSMALLINT fieldIdentifier, SQLPOINTER characterAttribute,
                                  SQLSMALLINT bufferLength, SQLSMALLINT* stringLength,
                                  SQLLEN* numericAttribute) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        auto number = [&](SQLLEN value) {
            if (numericAttribute)
                *numericAttribute = value;
            return SQL_SUCCESS;
        };
        auto text = [&](const std::string& value) {
            return copyText(value, characterAttribute, bufferLength, stringLength, statement.diag);
        };
        if (fieldIdentifier == SQL_DESC_COUNT || fieldIdentifier == SQL_COLUMN_COUNT)
            return number(static_cast<SQLLEN>(statement.columns().size()));
        const ColumnInfo* info = resultColumn(statement, columnNumber);
        if (!info)
            return SQL_ERROR;
        const SqlTypeInfo& type = info->type;
        switch (fieldIdentifier) {
        case SQL_DESC_NAME:
        case SQL_DESC_LABEL:
        case SQL_COLUMN_NAME:
            return text(info->name);
        case SQL_DESC_BASE_COLUMN_NAME:
            return text(info->baseColumnName);
        case SQL_DESC_TABLE_NAME:
        case SQL_DESC_BASE_TABLE_NAME:
            return text(info->tableName);
        case SQL_DESC_CATALOG_NAME:
        case SQL_DESC_SCHEMA_NAME:
            return text("");
        case SQL_DESC_TYPE_NAME:
        case SQL_DESC_LOCAL_TYPE_NAME:
            return text(type.typeName);
        case SQL_DESC_LITERAL_PREFIX:
        case SQL_DESC_LITERAL_SUFFIX:
            return text(literalPrefix(type.sqlType));
        case SQL_DESC_CONCISE_TYPE:
            return number(type.sqlType);
        case SQL_DESC_TYPE:
            return number(verboseType(type.sqlType));
        case SQL_DESC_LENGTH:
            return number(static_cast<SQLLEN>(type.columnSize));
        case SQL_COLUMN_LENGTH:
        case SQL_DESC_OCTET_LENGTH:
            return number(type.bufferLength);
        case SQL_DESC_DISPLAY_SIZE:
            return number(type.displaySize);
        case SQL_DESC_PRECISION:
        case SQL_COLUMN_PRECISION:
            return number(precisionOf(type));
        case SQL_DESC_SCALE:
        case SQL_COLUMN_SCALE:
            return number(type.decimalDigits);
        case SQL_DESC_NUM_PREC_RADIX:
            return number(type.radix);
        case SQL_DESC_NULLABLE:
        case SQL_COLUMN_NULLABLE:
            return number(info->nullable);
        case SQL_DESC_UNSIGNED:
            return number(type.radix ? SQL_FALSE : SQL_TRUE);
        case SQL_DESC_FIXED_PREC_SCALE:
        case SQL_DESC_AUTO_UNIQUE_VALUE:
            return number(SQL_FALSE);
        case SQL_DESC_CASE_SENSITIVE:
            return number(isTextType(type.sqlType) ? SQL_TRUE : SQL_FALSE);
        case SQL_DESC_SEARCHABLE:
            return number(isTextType(type.sqlType) ? SQL_PRED_SEARCHABLE : SQL_PRED_BASIC);
        case SQL_DESC_UNNAMED:
            return number(info->name.empty() ? SQL_UNNAMED : SQL_NAMED);
        case SQL_DESC_UPDATABLE:
            return number(SQL_ATTR_READWRITE_UNKNOWN);
        default:
            return statement.diag.error("HY091", "Invalid descriptor field identifier (" +
                                                     std::to_string(fieldIdentifier) + ")");
        }
    });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT statementHandle, SQLUSMALLINT columnNumber,
                             SQLSMALLINT targetType, SQLPOINTER targetValue, SQLLEN bufferLength,
                             SQLLEN* strLenOrInd) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (bufferLength < 0)
            return statement.diag.error("HY090", "Invalid string or buffer length");
        return statement.bindColumn(columnNumber,
                                    CTarget{targetType, targetValue, bufferLength, strLenOrInd});
    });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT statementHandle) {
    return withStatement(statementHandle, [&](Statement& statement) { return statement.fetch(); });
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT statementHandle, SQLSMALLINT fetchOrientation,
                                 SQLLEN /*fetchOffset*/) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (fetchOrientation != SQL_FETCH_NEXT)
            return statement.diag.error("HY106", "Fetch type out of range (the cursor is "
                                                 "forward-only)");
        return statement.fetch();
    });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT statementHandle, SQLUSMALLINT columnNumber,
                             SQLSMALLINT targetType, SQLPOINTER targetValue, SQLLEN bufferLength,
                             SQLLEN* strLenOrInd) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        if (bufferLength < 0)
            return statement.diag.error("HY090", "Invalid string or buffer length");
        return statement.getData(columnNumber,
                                 CTarget{targetType, targetValue, bufferLength, strLenOrInd});
    });
}

} // extern "C"
