// ODBC entry points of the catalog: tables, columns and data types.
#include "Catalog.h"
#include "EntryPoint.h"

using namespace mdblite;

namespace {

SQLRETURN openCatalogRows(Statement& statement, std::unique_ptr<ResultSet> rows) {
    if (!rows)
        return SQL_ERROR; // the cause is in the statement's diagnostics
    statement.openRows(std::move(rows));
    return SQL_SUCCESS;
}

sqlite3* databaseOf(Statement& statement) {
    return statement.connection().db();
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLTables(SQLHSTMT statementHandle, SQLCHAR* catalogName, SQLSMALLINT nameLength1,
                            SQLCHAR* schemaName, SQLSMALLINT nameLength2, SQLCHAR* tableName,
                            SQLSMALLINT nameLength3, SQLCHAR* tableType, SQLSMALLINT nameLength4) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        statement.closeCursor();
        return openCatalogRows(
            statement,
            listTables(databaseOf(statement), textArgument(catalogName, nameLength1),
                       textArgument(schemaName, nameLength2), textArgument(tableName, nameLength3),
                       textArgument(tableType, nameLength4), statement.diag));
    });
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT statementHandle, SQLCHAR* /*catalogName*/,
                             SQLSMALLINT /*nameLength1*/, SQLCHAR* /*schemaName*/,
                             SQLSMALLINT /*nameLength2*/, SQLCHAR* tableName,
                             SQLSMALLINT nameLength3, SQLCHAR* columnName,
                             SQLSMALLINT nameLength4) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        statement.closeCursor();
        return openCatalogRows(
            statement, listColumns(databaseOf(statement), textArgument(tableName, nameLength3),
                                   textArgument(columnName, nameLength4), statement.diag));
    });
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT statementHandle, SQLSMALLINT dataType) {
    return withStatement(statementHandle, [&](Statement& statement) -> SQLRETURN {
        return openCatalogRows(statement, listTypes(dataType));
    });
}

} // extern "C"
