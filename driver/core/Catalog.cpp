// Catalog result sets built from SQLite's schema.
#include "Catalog.h"

#include "Diagnostics.h"
#include "SqliteErrors.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace mdblite {

namespace {

ColumnInfo textColumn(const char* name, SQLSMALLINT nullable = SQL_NULLABLE) {
    ColumnInfo info;
    info.name = name;
    info.type = typeFromSqlType(SQL_VARCHAR);
    info.type.columnSize = 128;
    info.type.bufferLength = 128;
    info.type.displaySize = 128;
    info.nullable = nullable;
    return info;
}

ColumnInfo numberColumn(const char* name, SQLSMALLINT sqlType,
                        SQLSMALLINT nullable = SQL_NULLABLE) {
    ColumnInfo info;
    info.name = name;
    info.type = typeFromSqlType(sqlType);
    info.nullable = nullable;
    return info;
}

Value textOrNull(const char* text) {
    return text ? Value::of(std::string(text)) : Value::null();
}

Value numberOrNull(SQLLEN number, bool present) {
    return present ? Value::of(static_cast<std::int64_t>(number)) : Value::null();
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

struct SchemaObject {
    std::string name;
    std::string type; // "TABLE", "VIEW" or "SYSTEM TABLE"
};

// Tables and views in name order; false with a diagnostic on failure.
bool readSchema(sqlite3* db, std::vector<SchemaObject>& objects, Diagnostics& diag) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT name, type FROM sqlite_master "
                                "WHERE type IN ('table','view') ORDER BY name",
                                -1, &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement)) {
        std::string name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        std::string type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        if (name.rfind("sqlite_", 0) == 0)
            type = "SYSTEM TABLE";
        else
            type = type == "view" ? "VIEW" : "TABLE";
        objects.push_back({std::move(name), std::move(type)});
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        reportSqliteError(db, rc, SqlitePhase::Run, diag);
        return false;
    }
    return true;
}

// "'TABLE', VIEW" -> {"TABLE", "VIEW"}; empty when every type is wanted.
std::set<std::string> parseTableTypes(const CatalogArgument& types) {
    std::set<std::string> wanted;
    if (!types)
        return wanted;
    std::string current;
    auto flush = [&] {
        while (!current.empty() && current.back() == ' ')
            current.pop_back();
        if (!current.empty())
            wanted.insert(current);
        current.clear();
    };
    for (char c : *types) {
        if (c == ',')
            flush();
        else if (c != '\'' && !(current.empty() && c == ' '))
            current += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    flush();
    return wanted;
}

std::vector<ColumnInfo> tablesColumns() {
    return {textColumn("TABLE_CAT"), textColumn("TABLE_SCHEM"), textColumn("TABLE_NAME"),
            textColumn("TABLE_TYPE"), textColumn("REMARKS")};
}

bool isEmpty(const CatalogArgument& argument) {
    return argument && argument->empty();
}

} // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern.empty())
        return name.empty();
    char p = pattern.front();
    if (p == '%') {
        for (size_t skip = 0; skip <= name.size(); ++skip)
            if (matchesPattern(name.substr(skip), pattern.substr(1)))
                return true;
        return false;
    }
    if (name.empty())
        return false;
    if (p == '_')
        return matchesPattern(name.substr(1), pattern.substr(1));
    if (p == '\\' && pattern.size() > 1) {
        p = pattern[1];
        pattern.remove_prefix(1);
    }
    return lower(p) == lower(name.front()) && matchesPattern(name.substr(1), pattern.substr(1));
}

std::unique_ptr<ResultSet> listTables(sqlite3* db, const CatalogArgument& catalog,
                                      const CatalogArgument& schema,
                                      const CatalogArgument& tablePattern,
                                      const CatalogArgument& tableTypes, Diagnostics& diag) {
    auto rows = std::make_unique<RowsResultSet>(tablesColumns());
    // The enumerations: one database without catalogs or schemas.
    if ((catalog && *catalog == SQL_ALL_CATALOGS && isEmpty(schema) && isEmpty(tablePattern)) ||
        (schema && *schema == SQL_ALL_SCHEMAS && isEmpty(catalog) && isEmpty(tablePattern)))
        return rows;
    if (tableTypes && *tableTypes == SQL_ALL_TABLE_TYPES && isEmpty(catalog) && isEmpty(schema) &&
        isEmpty(tablePattern)) {
        for (const char* type : {"SYSTEM TABLE", "TABLE", "VIEW"})
            rows->addRow(
                {Value::null(), Value::null(), Value::null(), textOrNull(type), Value::null()});
        return rows;
    }
    std::vector<SchemaObject> objects;
    if (!readSchema(db, objects, diag))
        return nullptr;
    const std::set<std::string> wanted = parseTableTypes(tableTypes);
    // Ordered by type, then name, as ODBC lists tables.
    std::stable_sort(objects.begin(), objects.end(),
                     [](const auto& a, const auto& b) { return a.type < b.type; });
    for (const SchemaObject& object : objects) {
        if (tablePattern && !matchesPattern(object.name, *tablePattern))
            continue;
        if (!wanted.empty() && !wanted.count(object.type))
            continue;
        rows->addRow({Value::null(), Value::null(), Value::of(object.name), Value::of(object.type),
                      Value::null()});
    }
    return rows;
}

std::unique_ptr<ResultSet> listColumns(sqlite3* db, const CatalogArgument& tablePattern,
                                       const CatalogArgument& columnPattern, Diagnostics& diag) {
    auto rows = std::make_unique<RowsResultSet>(std::vector<ColumnInfo>{
        textColumn("TABLE_CAT"), textColumn("TABLE_SCHEM"), textColumn("TABLE_NAME", SQL_NO_NULLS),
        textColumn("COLUMN_NAME", SQL_NO_NULLS),
        numberColumn("DATA_TYPE", SQL_SMALLINT, SQL_NO_NULLS),
        textColumn("TYPE_NAME", SQL_NO_NULLS), numberColumn("COLUMN_SIZE", SQL_INTEGER),
        numberColumn("BUFFER_LENGTH", SQL_INTEGER), numberColumn("DECIMAL_DIGITS", SQL_SMALLINT),
        numberColumn("NUM_PREC_RADIX", SQL_SMALLINT),
        numberColumn("NULLABLE", SQL_SMALLINT, SQL_NO_NULLS), textColumn("REMARKS"),
        textColumn("COLUMN_DEF"), numberColumn("SQL_DATA_TYPE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("SQL_DATETIME_SUB", SQL_SMALLINT),
        numberColumn("CHAR_OCTET_LENGTH", SQL_INTEGER),
        numberColumn("ORDINAL_POSITION", SQL_INTEGER, SQL_NO_NULLS), textColumn("IS_NULLABLE")});

    std::vector<SchemaObject> objects;
    if (!readSchema(db, objects, diag))
        return nullptr;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT cid, name, type, \"notnull\", dflt_value, pk "
                                "FROM pragma_table_info(?1)",
                                -1, &statement, nullptr);
    if (rc != SQLITE_OK) {
        reportSqliteError(db, rc, SqlitePhase::Run, diag);
        return nullptr;
    }
    for (const SchemaObject& object : objects) {
        if (object.type == "SYSTEM TABLE" ||
            (tablePattern && !matchesPattern(object.name, *tablePattern)))
            continue;
        sqlite3_reset(statement);
        sqlite3_bind_text(statement, 1, object.name.c_str(), -1, SQLITE_TRANSIENT);
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const std::string name =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
            if (columnPattern && !matchesPattern(name, *columnPattern))
                continue;
            const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
            const SqlTypeInfo type = typeFromDeclaration(declared ? declared : "");
            const bool notNull = sqlite3_column_int(statement, 3) != 0;
            const bool isText = type.sqlType == SQL_VARCHAR || type.sqlType == SQL_LONGVARCHAR;
            const bool isNumber = type.radix != 0;
            rows->addRow({
                Value::null(),
                Value::null(),
                Value::of(object.name),
                Value::of(name),
                Value::of(type.sqlType),
                Value::of(type.typeName),
                Value::of(static_cast<std::int64_t>(type.columnSize)),
                Value::of(static_cast<std::int64_t>(type.bufferLength)),
                numberOrNull(type.decimalDigits, isNumber || type.sqlType == SQL_TYPE_TIMESTAMP),
                numberOrNull(type.radix, isNumber),
                Value::of(notNull ? SQL_NO_NULLS : SQL_NULLABLE),
                Value::null(),
                textOrNull(reinterpret_cast<const char*>(sqlite3_column_text(statement, 4))),
                Value::of(verboseType(type.sqlType)),
                numberOrNull(datetimeSubcode(type.sqlType), type.sqlType == SQL_TYPE_TIMESTAMP),
                numberOrNull(type.bufferLength, isText),
                Value::of(sqlite3_column_int64(statement, 0) + 1),
                Value::of(std::string(notNull ? "NO" : "YES")),
            });
        }
        if (rc != SQLITE_DONE) {
            reportSqliteError(db, rc, SqlitePhase::Run, diag);
            sqlite3_finalize(statement);
            return nullptr;
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

std::unique_ptr<ResultSet> listTypes(SQLSMALLINT dataType) {
    auto rows = std::make_unique<RowsResultSet>(std::vector<ColumnInfo>{
        textColumn("TYPE_NAME", SQL_NO_NULLS),
        numberColumn("DATA_TYPE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("COLUMN_SIZE", SQL_INTEGER), textColumn("LITERAL_PREFIX"),
        textColumn("LITERAL_SUFFIX"), textColumn("CREATE_PARAMS"),
        numberColumn("NULLABLE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("CASE_SENSITIVE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("SEARCHABLE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("UNSIGNED_ATTRIBUTE", SQL_SMALLINT),
        numberColumn("FIXED_PREC_SCALE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("AUTO_UNIQUE_VALUE", SQL_SMALLINT), textColumn("LOCAL_TYPE_NAME"),
        numberColumn("MINIMUM_SCALE", SQL_SMALLINT), numberColumn("MAXIMUM_SCALE", SQL_SMALLINT),
        numberColumn("SQL_DATA_TYPE", SQL_SMALLINT, SQL_NO_NULLS),
        numberColumn("SQL_DATETIME_SUB", SQL_SMALLINT), numberColumn("NUM_PREC_RADIX", SQL_INTEGER),
        numberColumn("INTERVAL_PRECISION", SQL_SMALLINT)});
    for (const ListedType& listed : listedTypes()) {
        const SqlTypeInfo& type = listed.info;
        if (dataType != SQL_ALL_TYPES && dataType != type.sqlType)
            continue;
        const bool isTimestamp = type.sqlType == SQL_TYPE_TIMESTAMP;
        rows->addRow({Value::of(type.typeName), Value::of(type.sqlType),
                      Value::of(static_cast<std::int64_t>(type.columnSize)),
                      textOrNull(listed.literalPrefix), textOrNull(listed.literalSuffix),
                      textOrNull(listed.createParams), Value::of(SQL_NULLABLE),
                      Value::of(listed.caseSensitive ? SQL_TRUE : SQL_FALSE),
                      Value::of(listed.searchable), numberOrNull(SQL_FALSE, listed.isNumber),
                      Value::of(SQL_FALSE), numberOrNull(SQL_FALSE, listed.isNumber),
                      Value::of(type.typeName), numberOrNull(0, listed.isNumber || isTimestamp),
                      numberOrNull(0, listed.isNumber || isTimestamp),
                      Value::of(verboseType(type.sqlType)),
                      numberOrNull(datetimeSubcode(type.sqlType), isTimestamp),
                      numberOrNull(type.radix, listed.isNumber), Value::null()});
    }
    return rows;
}

} // namespace mdblite
