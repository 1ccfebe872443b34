// Result sets: SQLite statement rows and in-memory catalog rows.
#include "ResultSet.h"

#include "Diagnostics.h"
#include "SqliteErrors.h"

#include <new>

namespace mdblite {

SqliteResultSet::SqliteResultSet(sqlite3_stmt* statement, bool firstStepHadRow)
    : statement_(statement), pendingRow_(firstStepHadRow), finished_(!firstStepHadRow) {
    columns_ = describeSqliteColumns(statement, firstStepHadRow);
    if (finished_)
        sqlite3_reset(statement_);
}

SqliteResultSet::~SqliteResultSet() {
    sqlite3_reset(statement_);
}

StepResult SqliteResultSet::next(Diagnostics& diag) {
    if (pendingRow_) {
        pendingRow_ = false;
        return StepResult::Row;
    }
    if (finished_)
        return StepResult::End;
    int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return StepResult::Row;
    finished_ = true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(statement_); // ends the read transaction now
        return StepResult::End;
    }
    reportSqliteError(sqlite3_db_handle(statement_), rc, SqlitePhase::Run, diag);
    sqlite3_reset(statement_);
    return StepResult::Error;
}

ValueKind SqliteResultSet::kind(int col) const {
    switch (sqlite3_column_type(statement_, col)) {
    case SQLITE_INTEGER:
        return ValueKind::Integer;
    case SQLITE_FLOAT:
        return ValueKind::Real;
    case SQLITE_TEXT:
        return ValueKind::Text;
    case SQLITE_BLOB:
        return ValueKind::Blob;
    default:
        return ValueKind::Null;
    }
}

std::int64_t SqliteResultSet::integer(int col) const {
    return sqlite3_column_int64(statement_, col);
}

double SqliteResultSet::real(int col) const {
    return sqlite3_column_double(statement_, col);
}

std::string_view SqliteResultSet::text(int col) const {
    const unsigned char* data = sqlite3_column_text(statement_, col);
    if (!data)
        return {};
    return {reinterpret_cast<const char*>(data),
            static_cast<size_t>(sqlite3_column_bytes(statement_, col))};
}

bool SqliteResultSet::textUnlessNull(int col, std::string_view& out) const {
    const unsigned char* data = sqlite3_column_text(statement_, col);
    if (!data) {
        if (sqlite3_column_type(statement_, col) == SQLITE_NULL)
            return false;
        throw std::bad_alloc(); // SQLite could not make the text
    }
    out = {reinterpret_cast<const char*>(data),
           static_cast<size_t>(sqlite3_column_bytes(statement_, col))};
    return true;
}

namespace {

// Whether the table column a result column comes from may hold NULL.
SQLSMALLINT nullability(sqlite3_stmt* statement, int col) {
    const char* table = sqlite3_column_table_name(statement, col);
    const char* origin = sqlite3_column_origin_name(statement, col);
    const char* database = sqlite3_column_database_name(statement, col);
    if (!table || !origin)
        return SQL_NULLABLE_UNKNOWN;
    int notNull = 0;
    int primaryKey = 0;
    if (sqlite3_table_column_metadata(sqlite3_db_handle(statement), database, table, origin,
                                      nullptr, nullptr, &notNull, &primaryKey,
                                      nullptr) != SQLITE_OK)
        return SQL_NULLABLE_UNKNOWN;
    return notNull ? SQL_NO_NULLS : SQL_NULLABLE;
}

SqlTypeInfo typeOfValue(sqlite3_stmt* statement, int col) {
    switch (sqlite3_column_type(statement, col)) {
    case SQLITE_INTEGER:
        return typeFromSqlType(SQL_INTEGER);
    case SQLITE_FLOAT:
        return typeFromSqlType(SQL_DOUBLE);
    case SQLITE_BLOB:
        return typeFromSqlType(SQL_LONGVARBINARY);
    case SQLITE_TEXT: {
        const unsigned char* data = sqlite3_column_text(statement, col);
        std::string_view value(reinterpret_cast<const char*>(data),
                               static_cast<size_t>(sqlite3_column_bytes(statement, col)));
        // MIN(Dates_ID) and the like keep the Date/Time type of their column.
        if (looksLikeTimestampText(value))
            return typeFromSqlType(SQL_TYPE_TIMESTAMP);
        return typeFromSqlType(SQL_VARCHAR);
    }
    default:
        return typeFromSqlType(SQL_VARCHAR);
    }
}

} // namespace

std::vector<ColumnInfo> describeSqliteColumns(sqlite3_stmt* statement, bool hasCurrentRow) {
    std::vector<ColumnInfo> columns;
    const int count = sqlite3_column_count(statement);
    columns.reserve(static_cast<size_t>(count));
    for (int col = 0; col < count; ++col) {
        ColumnInfo info;
        const char* name = sqlite3_column_name(statement, col);
        info.name = name ? name : "";
        const char* declared = sqlite3_column_decltype(statement, col);
        if (declared)
            info.type = typeFromDeclaration(declared);
        else if (hasCurrentRow)
            info.type = typeOfValue(statement, col);
        else
            info.type = typeFromSqlType(SQL_VARCHAR);
        info.nullable = nullability(statement, col);
        if (const char* table = sqlite3_column_table_name(statement, col))
            info.tableName = table;
        if (const char* origin = sqlite3_column_origin_name(statement, col))
            info.baseColumnName = origin;
        columns.push_back(std::move(info));
    }
    return columns;
}

StepResult RowsResultSet::next(Diagnostics&) {
    if (!started_) {
        started_ = true;
        current_ = 0;
    } else if (current_ < rows_.size()) {
        ++current_;
    }
    return current_ < rows_.size() ? StepResult::Row : StepResult::End;
}

ValueKind RowsResultSet::kind(int col) const {
    return value(col).kind;
}

std::int64_t RowsResultSet::integer(int col) const {
    const Value& v = value(col);
    if (v.kind == ValueKind::Integer)
        return v.integer;
    return std::strtoll(v.text.c_str(), nullptr, 10);
}

double RowsResultSet::real(int col) const {
    const Value& v = value(col);
    if (v.kind == ValueKind::Integer)
        return static_cast<double>(v.integer);
    return std::strtod(v.text.c_str(), nullptr);
}

std::string_view RowsResultSet::text(int col) const {
    const Value& v = value(col);
    if (v.kind == ValueKind::Integer) {
        scratch_ = std::to_string(v.integer);
        return scratch_;
    }
    return v.text;
}

} // namespace mdblite
