// Values on their way between texts and table cells: reading a CSV field for
// a column of a given kind (with the checks an import makes), binding it to
// a statement, and writing a stored value back as export text.
#pragma once

#include "schema/Schema.h"

#include <cstdint>
#include <optional>
#include <string>

namespace rackbook {

class Statement;

struct CellValue {
    enum class Type { Null, Text, Integer, Real };
    Type type = Type::Null;
    std::string text;
    std::int64_t integer = 0;
    double real = 0;

    static CellValue null() { return {}; }
    static CellValue ofText(std::string value) { return {Type::Text, std::move(value), 0, 0}; }
    static CellValue ofInteger(std::int64_t value) { return {Type::Integer, {}, value, 0}; }
    static CellValue ofReal(double value) { return {Type::Real, {}, 0, value}; }
};

// Reads `text` (non-empty) for a column of `kind`: dates as YYYY-MM-DD or
// YYYY-MM-DD HH:MM:SS on the calendar, integers, decimal numbers, yes/no as
// 1/0, true/false, yes/no.  Nothing, with `error` set, when the text does not
// fit the column.
std::optional<CellValue> cellFromText(ColumnKind kind, const std::string& text, std::string& error);

void bindCell(Statement& statement, int index, const CellValue& value);

// The text an export writes for the value of column `column` of the current
// row; nothing for NULL.
std::optional<std::string> exportCell(const Statement& row, int column, ColumnKind kind);

// The shortest decimal text that reads back as exactly `value`.
std::string formatReal(double value);

} // namespace rackbook
