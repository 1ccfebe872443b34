// ODBC entry points that describe the driver: SQLGetInfo and SQLGetFunctions.
#include "EntryPoint.h"

#include <sqlite3.h>

#include <cstring>
#include <variant>

using namespace mdblite;

namespace {

// Every function this library exports; the driver manager switches off the
// functions not listed here.
constexpr SQLUSMALLINT kImplementedFunctions[] = {
    SQL_API_SQLALLOCCONNECT, SQL_API_SQLALLOCENV,      SQL_API_SQLALLOCHANDLE,
    SQL_API_SQLALLOCSTMT,    SQL_API_SQLBINDCOL,       SQL_API_SQLBINDPARAMETER,
    SQL_API_SQLCANCEL,       SQL_API_SQLCLOSECURSOR,   SQL_API_SQLCOLATTRIBUTE,
    SQL_API_SQLCOLUMNS,      SQL_API_SQLCONNECT,       SQL_API_SQLDESCRIBECOL,
    SQL_API_SQLDISCONNECT,   SQL_API_SQLDRIVERCONNECT, SQL_API_SQLENDTRAN,
    SQL_API_SQLEXECDIRECT,   SQL_API_SQLEXECUTE,       SQL_API_SQLFETCH,
    SQL_API_SQLFETCHSCROLL,  SQL_API_SQLFREECONNECT,   SQL_API_SQLFREEENV,
    SQL_API_SQLFREEHANDLE,   SQL_API_SQLFREESTMT,      SQL_API_SQLGETCONNECTATTR,
    SQL_API_SQLGETDATA,      SQL_API_SQLGETDIAGFIELD,  SQL_API_SQLGETDIAGREC,
    SQL_API_SQLGETENVATTR,   SQL_API_SQLGETFUNCTIONS,  SQL_API_SQLGETINFO,
    SQL_API_SQLGETSTMTATTR,  SQL_API_SQLGETTYPEINFO,   SQL_API_SQLMORERESULTS,
    SQL_API_SQLNATIVESQL,    SQL_API_SQLNUMPARAMS,     SQL_API_SQLNUMRESULTCOLS,
    SQL_API_SQLPREPARE,      SQL_API_SQLROWCOUNT,      SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLSETENVATTR,   SQL_API_SQLSETSTMTATTR,   SQL_API_SQLTABLES,
};

bool isImplemented(SQLUSMALLINT function) {
    for (SQLUSMALLINT implemented : kImplementedFunctions)
        if (implemented == function)
            return true;
    return false;
}

using InfoValue = std::variant<std::string, SQLUSMALLINT, SQLUINTEGER>;

std::string sqliteVersion() {
    return sqlite3_libversion();
}

// The answer to one SQLGetInfo question; false when the question is unknown.
bool infoValue(Connection& connection, SQLUSMALLINT infoType, InfoValue& value) {
    using U16 = SQLUSMALLINT;
    using U32 = SQLUINTEGER;
    switch (infoType) {
    // The driver and the data source.
    case SQL_DRIVER_NAME:
        value = std::string("libmdblite.so");
        return true;
    case SQL_DRIVER_VER:
        value = std::string("01.00.0000");
        return true;
    case SQL_DRIVER_ODBC_VER:
        value = std::string("03.00");
        return true;
    case SQL_DBMS_NAME:
        value = std::string("mdblite (SQLite)");
        return true;
    case SQL_DBMS_VER:
        value = sqliteVersion();
        return true;
    case SQL_DATA_SOURCE_NAME:
        value = std::string("");
        return true;
    case SQL_SERVER_NAME:
        value = std::string("");
        return true;
    case SQL_DATABASE_NAME:
        value = connection.path();
        return true;
    case SQL_USER_NAME:
        value = std::string("");
        return true;
    case SQL_DATA_SOURCE_READ_ONLY:
        value = std::string("N");
        return true;
    case SQL_ACCESSIBLE_TABLES:
        value = std::string("Y");
        return true;
    case SQL_ACCESSIBLE_PROCEDURES:
        value = std::string("N");
        return true;
    case SQL_ODBC_INTERFACE_CONFORMANCE:
        value = U32{SQL_OIC_CORE};
        return true;
    case SQL_SQL_CONFORMANCE:
        value = U32{SQL_SC_SQL92_ENTRY};
        return true;
    case SQL_ODBC_SQL_CONFORMANCE:
        value = U16{SQL_OSC_MINIMUM};
        return true;
    case SQL_ODBC_API_CONFORMANCE:
        value = U16{SQL_OAC_LEVEL1};
        return true;
    case SQL_ODBC_SAG_CLI_CONFORMANCE:
        value = U16{SQL_OSCC_COMPLIANT};
        return true;
    case SQL_STANDARD_CLI_CONFORMANCE:
        value = U32{SQL_SCC_ISO92_CLI};
        return true;
    case SQL_MAX_DRIVER_CONNECTIONS:
        value = U16{0};
        return true;
    case SQL_MAX_CONCURRENT_ACTIVITIES:
        value = U16{0};
        return true;
    // Names and identifiers.
    case SQL_IDENTIFIER_QUOTE_CHAR:
        value = std::string("`");
        return true;
    case SQL_IDENTIFIER_CASE:
        value = U16{SQL_IC_MIXED};
        return true;
    case SQL_QUOTED_IDENTIFIER_CASE:
        value = U16{SQL_IC_MIXED};
        return true;
    case SQL_SEARCH_PATTERN_ESCAPE:
        value = std::string("\\");
        return true;
    case SQL_SPECIAL_CHARACTERS:
        value = std::string("");
        return true;
    case SQL_KEYWORDS:
        value = std::string("");
        return true;
    case SQL_CATALOG_NAME:
        value = std::string("N");
        return true;
    case SQL_CATALOG_NAME_SEPARATOR:
        value = std::string("");
        return true;
    case SQL_CATALOG_TERM:
        value = std::string("");
        return true;
    case SQL_CATALOG_LOCATION:
        value = U16{0};
        return true;
    case SQL_CATALOG_USAGE:
        value = U32{0};
        return true;
    case SQL_SCHEMA_TERM:
        value = std::string("");
        return true;
    case SQL_SCHEMA_USAGE:
        value = U32{0};
        return true;
    case SQL_TABLE_TERM:
        value = std::string("table");
        return true;
    case SQL_PROCEDURE_TERM:
        value = std::string("");
        return true;
    case SQL_PROCEDURES:
        value = std::string("N");
        return true;
    case SQL_COLUMN_ALIAS:
        value = std::string("Y");
        return true;
    case SQL_MAX_COLUMN_NAME_LEN:
        value = U16{64};
        return true;
    case SQL_MAX_TABLE_NAME_LEN:
        value = U16{64};
        return true;
    case SQL_MAX_IDENTIFIER_LEN:
        value = U16{64};
        return true;
    case SQL_MAX_SCHEMA_NAME_LEN:
        value = U16{0};
        return true;
    case SQL_MAX_CATALOG_NAME_LEN:
        value = U16{0};
        return true;
    case SQL_MAX_CURSOR_NAME_LEN:
        value = U16{0};
        return true;
    case SQL_MAX_PROCEDURE_NAME_LEN:
        value = U16{0};
        return true;
    case SQL_MAX_USER_NAME_LEN:
        value = U16{0};
        return true;
    case SQL_MAX_COLUMNS_IN_SELECT:
        value = U16{255};
        return true;
    case SQL_MAX_COLUMNS_IN_TABLE:
        value = U16{255};
        return true;
    case SQL_MAX_COLUMNS_IN_ORDER_BY:
        value = U16{0};
        return true;
    case SQL_MAX_COLUMNS_IN_GROUP_BY:
        value = U16{0};
        return true;
    case SQL_MAX_COLUMNS_IN_INDEX:
        value = U16{0};
        return true;
    case SQL_MAX_TABLES_IN_SELECT:
        value = U16{0};
        return true;
    case SQL_MAX_STATEMENT_LEN:
        value = U32{0};
        return true;
    case SQL_MAX_ROW_SIZE:
        value = U32{0};
        return true;
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
        value = std::string("Y");
        return true;
    case SQL_MAX_CHAR_LITERAL_LEN:
        value = U32{0};
        return true;
    case SQL_MAX_BINARY_LITERAL_LEN:
        value = U32{0};
        return true;
    case SQL_MAX_INDEX_SIZE:
        value = U32{0};
        return true;
    // Transactions and cursors.
    case SQL_TXN_CAPABLE:
        value = U16{SQL_TC_ALL};
        return true;
    case SQL_DEFAULT_TXN_ISOLATION:
        value = U32{SQL_TXN_SERIALIZABLE};
        return true;
    case SQL_TXN_ISOLATION_OPTION:
        value = U32{SQL_TXN_SERIALIZABLE};
        return true;
    case SQL_MULTIPLE_ACTIVE_TXN:
        value = std::string("Y");
        return true;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
        value = U16{SQL_CB_CLOSE};
        return true;
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        value = U16{SQL_CB_CLOSE};
        return true;
    case SQL_CURSOR_SENSITIVITY:
        value = U32{SQL_INSENSITIVE};
        return true;
    case SQL_SCROLL_OPTIONS:
        value = U32{SQL_SO_FORWARD_ONLY};
        return true;
    case SQL_FETCH_DIRECTION:
        value = U32{SQL_FD_FETCH_NEXT};
        return true;
    case SQL_SCROLL_CONCURRENCY:
        value = U32{SQL_SCCO_READ_ONLY};
        return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
        value = U32{SQL_CA1_NEXT};
        return true;
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
        value = U32{SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_MAX_ROWS_SELECT};
        return true;
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
        value = U32{0};
        return true;
    case SQL_GETDATA_EXTENSIONS:
        value = U32{SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND};
        return true;
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_LOCK_TYPES:
    case SQL_STATIC_SENSITIVITY:
    case SQL_BOOKMARK_PERSISTENCE:
        value = U32{0};
        return true;
    case SQL_ROW_UPDATES:
        value = std::string("N");
        return true;
    case SQL_MULT_RESULT_SETS:
        value = std::string("N");
        return true;
    case SQL_NEED_LONG_DATA_LEN:
        value = std::string("N");
        return true;
    case SQL_DESCRIBE_PARAMETER:
        value = std::string("N");
        return true;
    case SQL_ASYNC_MODE:
        value = U32{SQL_AM_NONE};
        return true;
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
        value = U32{0};
        return true;
    case SQL_BATCH_SUPPORT:
        value = U32{0};
        return true;
    case SQL_BATCH_ROW_COUNT:
        value = U32{0};
        return true;
    case SQL_PARAM_ARRAY_ROW_COUNTS:
        value = U32{SQL_PARC_NO_BATCH};
        return true;
    case SQL_PARAM_ARRAY_SELECTS:
        value = U32{SQL_PAS_NO_SELECT};
        return true;
    case SQL_FILE_USAGE:
        value = U16{SQL_FILE_NOT_SUPPORTED};
        return true;
    // SQL.
    case SQL_NULL_COLLATION:
        value = U16{SQL_NC_LOW};
        return true;
    case SQL_CONCAT_NULL_BEHAVIOR:
        value = U16{SQL_CB_NULL};
        return true;
    case SQL_NON_NULLABLE_COLUMNS:
        value = U16{SQL_NNC_NON_NULL};
        return true;
    case SQL_CORRELATION_NAME:
        value = U16{SQL_CN_ANY};
        return true;
    case SQL_GROUP_BY:
        value = U16{SQL_GB_GROUP_BY_CONTAINS_SELECT};
        return true;
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
        value = std::string("N");
        return true;
    case SQL_EXPRESSIONS_IN_ORDERBY:
        value = std::string("Y");
        return true;
    case SQL_LIKE_ESCAPE_CLAUSE:
        value = std::string("N");
        return true;
    case SQL_OUTER_JOINS:
        value = std::string("Y");
        return true;
    case SQL_OJ_CAPABILITIES:
        value = U32{SQL_OJ_LEFT | SQL_OJ_NOT_ORDERED};
        return true;
    case SQL_INTEGRITY:
        value = std::string("N");
        return true;
    case SQL_AGGREGATE_FUNCTIONS:
        value = U32{SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT | SQL_AF_MAX |
                    SQL_AF_MIN | SQL_AF_SUM};
        return true;
    case SQL_SQL92_PREDICATES:
        value = U32{SQL_SP_BETWEEN | SQL_SP_COMPARISON | SQL_SP_EXISTS | SQL_SP_IN |
                    SQL_SP_ISNOTNULL | SQL_SP_ISNULL | SQL_SP_LIKE};
        return true;
    case SQL_SUBQUERIES:
        value = U32{SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN | SQL_SQ_QUANTIFIED};
        return true;
    case SQL_UNION:
        value = U32{SQL_U_UNION | SQL_U_UNION_ALL};
        return true;
    case SQL_INSERT_STATEMENT:
        value = U32{SQL_IS_INSERT_LITERALS};
        return true;
    case SQL_DDL_INDEX:
        value = U32{SQL_DI_CREATE_INDEX | SQL_DI_DROP_INDEX};
        return true;
    case SQL_CREATE_TABLE:
        value = U32{SQL_CT_CREATE_TABLE};
        return true;
    case SQL_DROP_TABLE:
        value = U32{SQL_DT_DROP_TABLE};
        return true;
    case SQL_ALTER_TABLE:
        value = U32{SQL_AT_ADD_COLUMN};
        return true;
    case SQL_CONVERT_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_TIMEDATE_ADD_INTERVALS:
    case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_DATETIME_LITERALS:
    case SQL_SQL92_DATETIME_FUNCTIONS:
    case SQL_SQL92_NUMERIC_VALUE_FUNCTIONS:
    case SQL_SQL92_STRING_FUNCTIONS:
    case SQL_SQL92_VALUE_EXPRESSIONS:
    case SQL_SQL92_ROW_VALUE_CONSTRUCTOR:
    case SQL_SQL92_FOREIGN_KEY_DELETE_RULE:
    case SQL_SQL92_FOREIGN_KEY_UPDATE_RULE:
    case SQL_SQL92_GRANT:
    case SQL_SQL92_REVOKE:
    case SQL_SQL92_RELATIONAL_JOIN_OPERATORS:
    case SQL_CONVERT_BIGINT:
    case SQL_CONVERT_BINARY:
    case SQL_CONVERT_BIT:
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_DATE:
    case SQL_CONVERT_DECIMAL:
    case SQL_CONVERT_DOUBLE:
    case SQL_CONVERT_FLOAT:
    case SQL_CONVERT_INTEGER:
    case SQL_CONVERT_LONGVARCHAR:
    case SQL_CONVERT_NUMERIC:
    case SQL_CONVERT_REAL:
    case SQL_CONVERT_SMALLINT:
    case SQL_CONVERT_TIME:
    case SQL_CONVERT_TIMESTAMP:
    case SQL_CONVERT_TINYINT:
    case SQL_CONVERT_VARBINARY:
    case SQL_CONVERT_VARCHAR:
    case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_WCHAR:
    case SQL_CONVERT_WVARCHAR:
    case SQL_CONVERT_WLONGVARCHAR:
    case SQL_CREATE_VIEW:
    case SQL_DROP_VIEW:
    case SQL_CREATE_ASSERTION:
    case SQL_CREATE_CHARACTER_SET:
    case SQL_CREATE_COLLATION:
    case SQL_CREATE_DOMAIN:
    case SQL_CREATE_SCHEMA:
    case SQL_CREATE_TRANSLATION:
    case SQL_DROP_ASSERTION:
    case SQL_DROP_CHARACTER_SET:
    case SQL_DROP_COLLATION:
    case SQL_DROP_DOMAIN:
    case SQL_DROP_SCHEMA:
    case SQL_DROP_TRANSLATION:
    case SQL_INDEX_KEYWORDS:
    case SQL_INFO_SCHEMA_VIEWS:
        value = U32{0};
        return true;
    case SQL_ODBC_VER:
        value = std::string("03.00");
        return true;
    case SQL_COLLATION_SEQ:
        value = std::string("BINARY");
        return true;
    case SQL_XOPEN_CLI_YEAR:
        value = std::string("1995");
        return true;
    case SQL_DM_VER:
        value = std::string("");
        return true;
    default:
        return false;
    }
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLGetInfo(SQLHDBC connectionHandle, SQLUSMALLINT infoType,
                             SQLPOINTER infoValuePtr, SQLSMALLINT bufferLength,
                             SQLSMALLINT* stringLength) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        InfoValue value;
        if (!infoValue(connection, infoType, value))
            return connection.diag.error("HY096", "Information type out of range (" +
                                                      std::to_string(infoType) + ")");
        if (auto* text = std::get_if<std::string>(&value))
            return copyText(*text, infoValuePtr, bufferLength, stringLength, connection.diag);
        if (auto* small = std::get_if<SQLUSMALLINT>(&value)) {
            if (infoValuePtr)
                std::memcpy(infoValuePtr, small, sizeof *small);
            if (stringLength)
                *stringLength = sizeof *small;
            return SQL_SUCCESS;
        }
        const SQLUINTEGER number = std::get<SQLUINTEGER>(value);
        if (infoValuePtr)
            std::memcpy(infoValuePtr, &number, sizeof number);
        if (stringLength)
            *stringLength = sizeof number;
        return SQL_SUCCESS;
    });
}

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC connectionHandle, SQLUSMALLINT functionId,
                                  SQLUSMALLINT* supported) {
    return withConnection(connectionHandle, [&](Connection& connection) -> SQLRETURN {
        if (!supported)
            return connection.diag.error("HY009", "Invalid use of null pointer");
        if (functionId == SQL_API_ODBC3_ALL_FUNCTIONS) {
            std::memset(supported, 0, sizeof(SQLUSMALLINT) * SQL_API_ODBC3_ALL_FUNCTIONS_SIZE);
            for (SQLUSMALLINT function : kImplementedFunctions)
                supported[function >> 4] |= static_cast<SQLUSMALLINT>(1U << (function & 0xF));
            return SQL_SUCCESS;
        }
        if (functionId == SQL_API_ALL_FUNCTIONS) {
            std::memset(supported, 0, sizeof(SQLUSMALLINT) * 100);
            for (SQLUSMALLINT function : kImplementedFunctions)
                if (function < 100)
                    supported[function] = SQL_TRUE;
            return SQL_SUCCESS;
        }
        *supported = isImplemented(functionId) ? SQL_TRUE : SQL_FALSE;
        return SQL_SUCCESS;
    });
}

} // extern "C"
