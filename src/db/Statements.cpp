// Builders of the program's SQL statements.
#include "db/Statements.h"

#include "db/SqlText.h"

const char* const kMinDatesStatement = "SELECT MIN(Dates_ID) FROM StockTable";
const char* const kMaxDatesStatement = "SELECT MAX(Dates_ID) FROM StockTable";

namespace {

// The date stored for a record saved with an empty date.
const char* const kDefaultDate = "1900-04-24";

std::string quoted(const std::string& value) {
    return "'" + escapeValue(value) + "'";
}

// A saved value as the UPDATE and INSERT write it.
std::string savedValue(const std::string& value, bool isDate) {
    if (!isDate)
        return quoted(value);
    return "#" + (value.empty() ? std::string(kDefaultDate) : value) + "#";
}

} // namespace

std::string selectDistinctStatement(const std::string& column) {
    const std::string name = sqlName(column);
    return "SELECT DISTINCT " + name + " FROM StockTable ORDER BY " + name;
}

std::optional<std::string> listingStatement(const std::vector<FilterTerm>& terms,
                                            const std::string& startDate,
                                            const std::string& endDate) {
    if (startDate.find('#') != std::string::npos || endDate.find('#') != std::string::npos)
        return std::nullopt;
    std::string statement = "SELECT * from StockTable WHERE ";
    for (const FilterTerm& term : terms)
        statement += sqlName(term.column) + "=" + quoted(term.value) + " and ";
    statement +=
        "Dates_ID between #" + escapeValue(startDate) + "# and #" + escapeValue(endDate) + "#";
    return statement;
}

std::string searchStatement(const std::string& column, const std::string& text) {
    return "SELECT * from StockTable WHERE " + sqlName(column) + " LIKE '%" + escapeValue(text) +
           "%'";
}

std::string occupancyStatement(const std::string& keyColumn, const std::string& key) {
    return "SELECT * FROM StockTable WHERE " + sqlName(keyColumn) + "=" + quoted(key);
}

std::string updateStatement(const std::vector<std::string>& names,
                            const std::vector<std::string>& values, int datePosition,
                            const std::string& oldKey) {
    std::string statement = "UPDATE StockTable SET ";
    for (size_t j = 0; j < names.size() && j < values.size(); ++j) {
        const bool isDate = static_cast<int>(j) == datePosition;
        if (j > 0)
            statement += ", ";
        statement += sqlName(names[j]) + "=" + savedValue(values[j], isDate);
    }
    const std::string keyColumn = names.empty() ? std::string("Index_ID") : names[0];
    return statement + " WHERE " + sqlName(keyColumn) + "=" + quoted(oldKey);
}

std::string insertStatement(const std::vector<std::string>& names,
                            const std::vector<std::string>& values, int datePosition) {
    std::string columns;
    std::string written;
    for (size_t j = 0; j < names.size() && j < values.size(); ++j) {
        const bool isDate = static_cast<int>(j) == datePosition;
        if (j > 0) {
            columns += ", ";
            written += ", ";
        }
        columns += sqlName(names[j]);
        written += savedValue(values[j], isDate);
    }
    return "INSERT INTO StockTable (" + columns + ") VALUES (" + written + ");";
}

std::string deleteStatement(const std::string& keyColumn, const std::string& key) {
    return "DELETE FROM StockTable WHERE " + sqlName(keyColumn) + "=" + quoted(key);
}
