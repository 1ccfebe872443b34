// Test databases in the storage format the driver reads (an SQLite file with
// a rollback journal), made and read back with the sqlite3 library directly,
// so that a test sees what the program wrote independently of the driver.
#pragma once

#include <string>
#include <vector>

// The columns of the usual table layout.
extern const char* const kStandardColumns;

// A row read back; NULL reads as kNull.
using Row = std::vector<std::string>;
extern const char* const kNull; // "<NULL>"

// Creates the file with `CREATE TABLE StockTable (<columns>)` and runs each
// of `statements` (INSERTs, say) on it.
void createStockDatabase(const std::string& path, const std::string& columns,
                         const std::vector<std::string>& statements = {});

// Runs SQL on the file (ALTER, DROP, INSERT ...); throws on an error.
void runSql(const std::string& path, const std::string& sql);

// Every row of a query, each value as text.
std::vector<Row> queryRows(const std::string& path, const std::string& sql);

// StockTable ordered by its first column.
std::vector<Row> stockRows(const std::string& path);
