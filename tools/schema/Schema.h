// The layout of StockTable: its columns, the rules a layout must follow
// (Index_ID text key first, at least three place columns after it, exactly
// one Date/Time column Dates_ID), the SQL that makes it, and the reading of
// an existing table's columns back from a database file.
#pragma once

#include <string>
#include <vector>

namespace rackbook {

class Database;

extern const char* const kStockTable; // "StockTable"
extern const char* const kKeyColumn;  // "Index_ID"
extern const char* const kDateColumn; // "Dates_ID"

enum class ColumnKind { Text, Memo, Integer, Double, YesNo, DateTime };

struct Column {
    std::string name;
    ColumnKind kind = ColumnKind::Text;
    std::string declaredType; // as asked for, e.g. "TEXT(255)", "MEMO" (a MEMO is stored LONGTEXT)
};

// Index_ID, Rack, Box, Position, Strain, Plasmid, Subunit, Mutation,
// Antibiotic, Dates_ID, Comments.
std::vector<Column> defaultStockColumns();

// Reads a layout such as "Index_ID,Rack,Box,Position,Strain,Dates_ID,Notes:MEMO":
// comma-separated names, each with an optional ":TYPE" (TEXT, TEXT(n),
// VARCHAR(n), MEMO, LONGTEXT, INTEGER, LONG, DOUBLE, REAL, FLOAT, YESNO,
// BIT, DATETIME; TEXT when left out; Dates_ID is always DATETIME).  Throws
// ToolError naming the first fault, including a breach of checkLayout.
std::vector<Column> parseColumnSpec(const std::string& spec);

// Throws ToolError unless the columns follow the table's rules.
void checkLayout(const std::vector<Column>& columns);

// The kind a declared SQL type stands for (DATETIME -> DateTime, ...).
ColumnKind kindOfDeclaredType(const std::string& declaredType);

std::string createTableSql(const std::string& table, const std::vector<Column>& columns);

// INSERT INTO table (all columns) VALUES (?, ...), for a prepared statement.
std::string insertSql(const std::string& table, const std::vector<Column>& columns);

// The columns of an existing table in table order; throws when it is missing.
std::vector<Column> readTableColumns(Database& db, const std::string& table);

// Index of the column named `name` (case-insensitive), or -1.
int findColumn(const std::vector<Column>& columns, const std::string& name);

bool sameName(const std::string& a, const std::string& b); // case-insensitive, ASCII

} // namespace rackbook
