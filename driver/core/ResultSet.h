// Result sets that a statement's cursor walks: the rows of an SQLite statement
// (queries) or rows built in memory (catalog functions such as SQLColumns).
#pragma once

#include "ColumnTypes.h"

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mdblite {

class Diagnostics;

struct ColumnInfo {
    std::string name;
    SqlTypeInfo type;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    std::string tableName;      // empty for expressions
    std::string baseColumnName; // empty for expressions
};

enum class ValueKind { Null, Integer, Real, Text, Blob };

enum class StepResult { Row, End, Error };

class ResultSet {
public:
    virtual ~ResultSet() = default;

    const std::vector<ColumnInfo>& columns() const { return columns_; }

    // Moves to the next row. On Error the cause is in `diag`.
    virtual StepResult next(Diagnostics& diag) = 0;

    // Values of the current row; `col` counts from 0.
    virtual ValueKind kind(int col) const = 0;
    virtual std::int64_t integer(int col) const = 0;
    virtual double real(int col) const = 0;
    // The value as text (numbers in their usual decimal form); valid until the
    // next call on this result set.
    virtual std::string_view text(int col) const = 0;
    // The value as text, or false when it is NULL: one call for the common case.
    virtual bool textUnlessNull(int col, std::string_view& out) const {
        if (kind(col) == ValueKind::Null)
            return false;
        out = text(col);
        return true;
    }

protected:
    std::vector<ColumnInfo> columns_;
};

// The rows of a prepared SQLite statement that has been stepped once. The
// statement stays owned by its Statement; the result set resets it when the rows
// end or the result set goes away, so no lock outlives the cursor.
class SqliteResultSet : public ResultSet {
public:
    // `firstStepHadRow` tells whether the execute's first step produced a row,
    // which is delivered by the first next().
    SqliteResultSet(sqlite3_stmt* statement, bool firstStepHadRow);
    ~SqliteResultSet() override;

    StepResult next(Diagnostics& diag) override;
    ValueKind kind(int col) const override;
    std::int64_t integer(int col) const override;
    double real(int col) const override;
    std::string_view text(int col) const override;
    bool textUnlessNull(int col, std::string_view& out) const override;

private:
    sqlite3_stmt* statement_;
    bool pendingRow_;
    bool finished_;
};

// Describes the result columns of a prepared statement. When the statement has
// a current row, a column without declared type (an expression such as
// MIN(Dates_ID)) takes the type of its value.
std::vector<ColumnInfo> describeSqliteColumns(sqlite3_stmt* statement, bool hasCurrentRow);

// A value held in memory.
struct Value {
    ValueKind kind = ValueKind::Null;
    std::int64_t integer = 0;
    std::string text;

    static Value null() { return Value{}; }
    static Value of(std::int64_t number) { return Value{ValueKind::Integer, number, {}}; }
    static Value of(std::string textValue) {
        return Value{ValueKind::Text, 0, std::move(textValue)};
    }
};

// Rows built in memory: the catalog functions' result sets.
class RowsResultSet : public ResultSet {
public:
    explicit RowsResultSet(std::vector<ColumnInfo> columns) { columns_ = std::move(columns); }

    void addRow(std::vector<Value> row) { rows_.push_back(std::move(row)); }
    size_t rowCount() const { return rows_.size(); }

    StepResult next(Diagnostics& diag) override;
    ValueKind kind(int col) const override;
    std::int64_t integer(int col) const override;
    double real(int col) const override;
    std::string_view text(int col) const override;

private:
    const Value& value(int col) const { return rows_[current_][static_cast<size_t>(col)]; }

    std::vector<std::vector<Value>> rows_;
    size_t current_ = 0;
    bool started_ = false;
    mutable std::string scratch_; // text form of a number
};

} // namespace mdblite
