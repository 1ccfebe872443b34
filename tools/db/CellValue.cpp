// Conversions between texts and cells; see CellValue.h.
#include "db/CellValue.h"

#include "db/Sqlite.h"
#include "schema/DateText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rackbook {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<CellValue> readInteger(const std::string& text, std::string& error) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(start, &end, 10);
    if (end == start || *end != '\0' || std::isspace(static_cast<unsigned char>(text[0]))) {
        error = "\"" + text + "\" is not a whole number";
        return std::nullopt;
    }
    if (errno == ERANGE) {
        error = "\"" + text + "\" is too large";
        return std::nullopt;
    }
    return CellValue::ofInteger(value);
}

std::optional<CellValue> readReal(const std::string& text, std::string& error) {
    const char* start = text.c_str();
    char* end = nullptr;
    double value = std::strtod(start, &end);
    if (end == start || *end != '\0' || std::isspace(static_cast<unsigned char>(text[0])) ||
        !std::isfinite(value)) {
        error = "\"" + text + "\" is not a number";
        return std::nullopt;
    }
    return CellValue::ofReal(value);
}

std::optional<CellValue> readYesNo(const std::string& text, std::string& error) {
    std::string word = lower(text);
    if (word == "1" || word == "yes" || word == "true" || word == "-1")
        return CellValue::ofInteger(1);
    if (word == "0" || word == "no" || word == "false")
        return CellValue::ofInteger(0);
    error = "\"" + text + "\" is not yes or no (1/0, yes/no, true/false)";
    return std::nullopt;
}

} // namespace

std::optional<CellValue> cellFromText(ColumnKind kind, const std::string& text,
                                      std::string& error) {
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo:
        return CellValue::ofText(text);
    case ColumnKind::Integer:
        return readInteger(text, error);
    case ColumnKind::Double:
        return readReal(text, error);
    case ColumnKind::YesNo:
        return readYesNo(text, error);
    case ColumnKind::DateTime:
        if (auto date = parseDateText(text))
            return CellValue::ofText(formatStoredDateTime(*date));
        error =
            "\"" + text + "\" is not a date (YYYY-MM-DD or YYYY-MM-DD HH:MM:SS, on the calendar)";
        return std::nullopt;
    }
    error = "unknown column kind";
    return std::nullopt;
}

void bindCell(Statement& statement, int index, const CellValue& value) {
    switch (value.type) {
    case CellValue::Type::Null:
        statement.bindNull(index);
        break;
    case CellValue::Type::Text:
        statement.bindText(index, value.text);
        break;
    case CellValue::Type::Integer:
        statement.bindInt64(index, value.integer);
        break;
    case CellValue::Type::Real:
        statement.bindDouble(index, value.real);
        break;
    }
}

std::string formatReal(double value) {
    char text[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

std::optional<std::string> exportCell(const Statement& row, int column, ColumnKind kind) {
    switch (row.columnType(column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_FLOAT:
        return formatReal(row.columnDouble(column));
    default:
        break;
    }
    std::string text = row.columnText(column);
    if (kind == ColumnKind::DateTime)
        return exportDateText(text);
    return text;
}

} // namespace rackbook
