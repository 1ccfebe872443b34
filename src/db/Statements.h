// The texts of every SQL statement the program runs on StockTable.  They are
// built from the widgets' texts by these pure functions, so that each one can
// be read and tested on its own.  Values are quoted with escapeValue and
// column names written with sqlName (db/SqlText.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

extern const char* const kMinDatesStatement; // "SELECT MIN(Dates_ID) FROM StockTable"
extern const char* const kMaxDatesStatement; // "SELECT MAX(Dates_ID) FROM StockTable"

// "SELECT DISTINCT name FROM StockTable ORDER BY name".
std::string selectDistinctStatement(const std::string& column);

// One term of the filtered listing: a column and the value it must hold.
struct FilterTerm {
    std::string column;
    std::string value;
};

// The filtered listing: "SELECT * from StockTable WHERE " + one
// "column='value' and " per term + "Dates_ID between #start# and #end#".
// A date text holding '#' would end its literal early and change the
// statement's shape, so then no statement is built (nullopt).
std::optional<std::string> listingStatement(const std::vector<FilterTerm>& terms,
                                            const std::string& startDate,
                                            const std::string& endDate);

// The custom search: "SELECT * from StockTable WHERE column LIKE '%text%'";
// the '%' and '_' of the text keep their pattern meaning.
std::string searchStatement(const std::string& column, const std::string& text);

// The save's check whether a place is taken:
// "SELECT * FROM StockTable WHERE keyColumn='key'".
std::string occupancyStatement(const std::string& keyColumn, const std::string& key);

// The save's statements.  `names` and `values` hold one entry per column
// position; the column at `datePosition` (index into them, or -1) is written
// as a date literal, #1900-04-24# when its value is empty.
std::string updateStatement(const std::vector<std::string>& names,
                            const std::vector<std::string>& values, int datePosition,
                            const std::string& oldKey);
std::string insertStatement(const std::vector<std::string>& names,
                            const std::vector<std::string>& values, int datePosition);

// "DELETE FROM StockTable WHERE keyColumn='key'".
std::string deleteStatement(const std::string& keyColumn, const std::string& key);
