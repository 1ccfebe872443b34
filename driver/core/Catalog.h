// The catalog functions' result sets (SQLTables, SQLColumns, SQLGetTypeInfo),
// built in memory from the database's schema with ODBC's standard columns.
#pragma once

#include "ResultSet.h"

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>

namespace mdblite {

class Diagnostics;

// An argument of a catalog function: absent (null pointer) or a text.
using CatalogArgument = std::optional<std::string>;

// SQLTables: tables and views whose name matches `tablePattern` (an ODBC search
// pattern: % any text, _ one character, \ escapes) and whose type is listed in
// `tableTypes` ("'TABLE','VIEW'"; absent or empty lists all). The special
// enumerations of catalogs, schemas and table types are answered too.
std::unique_ptr<ResultSet> listTables(sqlite3* db, const CatalogArgument& catalog,
                                      const CatalogArgument& schema,
                                      const CatalogArgument& tablePattern,
                                      const CatalogArgument& tableTypes, Diagnostics& diag);

// SQLColumns: one row per column of each matching table, in table order.
std::unique_ptr<ResultSet> listColumns(sqlite3* db, const CatalogArgument& tablePattern,
                                       const CatalogArgument& columnPattern, Diagnostics& diag);

// SQLGetTypeInfo: the types of `dataType`, or all for SQL_ALL_TYPES.
std::unique_ptr<ResultSet> listTypes(SQLSMALLINT dataType);

// Whether `name` matches an ODBC search pattern, ignoring case as SQLite does.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace mdblite
