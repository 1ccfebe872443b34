// StockTable layouts; see Schema.h.
#include "schema/Schema.h"

#include "ToolError.h"
#include "db/Sqlite.h"

#include <cctype>

namespace rackbook {

const char* const kStockTable = "StockTable";
const char* const kKeyColumn = "Index_ID";
const char* const kDateColumn = "Dates_ID";

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string trim(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Names go bare into the program's statements, so only plain identifiers
// are allowed.
bool isPlainName(const std::string& name) {
    if (name.empty() || name.size() > 64)
        return false;
    if (!std::isalpha(static_cast<unsigned char>(name[0])) && name[0] != '_')
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

// "TEXT(40)" -> true with size "40"; sizes from 1 to 255 as in Access.
bool readSizedType(const std::string& type, const std::string& base) {
    if (type.compare(0, base.size() + 1, base + "(") != 0 || type.back() != ')')
        return false;
    std::string digits = type.substr(base.size() + 1, type.size() - base.size() - 2);
    if (digits.empty() || digits.size() > 3)
        return false;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    int size = std::stoi(digits);
    return size >= 1 && size <= 255;
}

bool isKnownType(const std::string& type) {
    static const char* const plain[] = {"TEXT", "MEMO",  "LONGTEXT", "INTEGER", "LONG",    "DOUBLE",
                                        "REAL", "FLOAT", "YESNO",    "BIT",     "DATETIME"};
    for (const char* name : plain)
        if (type == name)
            return true;
    return readSizedType(type, "TEXT") || readSizedType(type, "VARCHAR") ||
           readSizedType(type, "CHAR");
}

Column makeColumn(const std::string& name, const std::string& declaredType) {
    return Column{name, kindOfDeclaredType(declaredType), declaredType};
}

Column parseOneColumn(const std::string& item, std::size_t position) {
    std::string text = trim(item);
    std::string name = text;
    std::string type = "TEXT";
    auto colon = text.find(':');
    if (colon != std::string::npos) {
        name = trim(text.substr(0, colon));
        type = upper(trim(text.substr(colon + 1)));
    }
    if (name.empty())
        throw ToolError("--columns: column " + std::to_string(position) + " has no name");
    if (!isPlainName(name))
        throw ToolError("--columns: \"" + name +
                        "\" is not a plain name (letters, digits and _, starting with a letter)");
    if (!isKnownType(type))
        throw ToolError("--columns: column " + name + " has the unknown type \"" + type +
                        "\" (TEXT, TEXT(n), MEMO, INTEGER, LONG, DOUBLE, YESNO, DATETIME ...)");
    if (sameName(name, kDateColumn)) {
        if (colon != std::string::npos && type != "DATETIME")
            throw ToolError("--columns: Dates_ID must be of type DATETIME");
        type = "DATETIME";
    }
    if (sameName(name, kKeyColumn) && kindOfDeclaredType(type) != ColumnKind::Text)
        throw ToolError("--columns: Index_ID must be a TEXT column");
    return makeColumn(name, type);
}

} // namespace

bool sameName(const std::string& a, const std::string& b) {
    return upper(a) == upper(b);
}

int findColumn(const std::vector<Column>& columns, const std::string& name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (sameName(columns[i].name, name))
            return static_cast<int>(i);
    return -1;
}

std::vector<Column> defaultStockColumns() {
    std::vector<Column> columns;
    for (const char* name : {"Index_ID", "Rack", "Box", "Position", "Strain", "Plasmid", "Subunit",
                             "Mutation", "Antibiotic"})
        columns.push_back(makeColumn(name, "TEXT"));
    columns[0].declaredType = "TEXT(255)";
    columns.push_back(makeColumn("Dates_ID", "DATETIME"));
    columns.push_back(makeColumn("Comments", "TEXT"));
    return columns;
}

std::vector<Column> parseColumnSpec(const std::string& spec) {
    std::vector<Column> columns;
    std::size_t start = 0;
    for (;;) {
        auto comma = spec.find(',', start);
        std::string item =
            spec.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        columns.push_back(parseOneColumn(item, columns.size() + 1));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (!columns.empty() && sameName(columns[0].name, kKeyColumn) &&
        columns[0].declaredType == "TEXT")
        columns[0].declaredType = "TEXT(255)";
    checkLayout(columns);
    return columns;
}

void checkLayout(const std::vector<Column>& columns) {
    if (columns.empty() || columns[0].name != kKeyColumn)
        throw ToolError("the first column must be Index_ID");
    if (columns[0].kind != ColumnKind::Text)
        throw ToolError("Index_ID must be a TEXT column");
    int dates = 0;
    int datesAt = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (sameName(columns[i].name, columns[j].name))
                throw ToolError("the column " + columns[i].name + " is named twice");
        if (sameName(columns[i].name, kKeyColumn) && i != 0)
            throw ToolError("Index_ID may only be the first column");
        if (sameName(columns[i].name, kDateColumn)) {
            ++dates;
            datesAt = static_cast<int>(i);
        }
    }
    if (dates != 1)
        throw ToolError("the layout needs exactly one Dates_ID column");
    if (columns[datesAt].name != kDateColumn || columns[datesAt].kind != ColumnKind::DateTime)
        throw ToolError("the date column must be named Dates_ID and be of type DATETIME");
    if (datesAt < 4)
        throw ToolError("three place columns (e.g. Rack, Box, Position) must follow Index_ID "
                        "before Dates_ID");
    for (int i = 1; i <= 3; ++i)
        if (columns[i].kind != ColumnKind::Text && columns[i].kind != ColumnKind::Integer &&
            columns[i].kind != ColumnKind::Double)
            throw ToolError("the place column " + columns[i].name + " must be text or a number");
}

ColumnKind kindOfDeclaredType(const std::string& declaredType) {
    std::string type = upper(declaredType);
    auto startsWith = [&](const char* prefix) { return type.rfind(prefix, 0) == 0; };
    if (startsWith("DATE") || startsWith("TIMESTAMP"))
        return ColumnKind::DateTime;
    if (startsWith("MEMO") || startsWith("LONGTEXT") || startsWith("LONGCHAR"))
        return ColumnKind::Memo;
    if (startsWith("INT") || startsWith("LONG") || startsWith("SMALLINT") || startsWith("BIGINT") ||
        startsWith("COUNTER") || startsWith("BYTE"))
        return ColumnKind::Integer;
    if (startsWith("DOUBLE") || startsWith("REAL") || startsWith("FLOAT") || startsWith("SINGLE") ||
        startsWith("NUMERIC") || startsWith("DECIMAL") || startsWith("CURRENCY"))
        return ColumnKind::Double;
    if (startsWith("BIT") || startsWith("YESNO") || startsWith("BOOL") || startsWith("LOGICAL"))
        return ColumnKind::YesNo;
    return ColumnKind::Text;
}

namespace {

// The type name written into the file. SQLite gives a column whose type
// name holds none of CHAR, CLOB or TEXT numeric affinity, which would store
// a text such as "007" or "1e5" as a number and read it back changed; a
// MEMO column is therefore declared LONGTEXT, the other name of a long text.
std::string storedTypeName(const Column& column) {
    if (column.kind == ColumnKind::Memo && upper(column.declaredType) == "MEMO")
        return "LONGTEXT";
    return column.declaredType;
}

} // namespace

std::string createTableSql(const std::string& table, const std::vector<Column>& columns) {
    std::string sql = "CREATE TABLE " + quoteName(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += quoteName(columns[i].name) + " " + storedTypeName(columns[i]);
        if (i == 0)
            sql += " PRIMARY KEY NOT NULL";
    }
    return sql + ")";
}

std::string insertSql(const std::string& table, const std::vector<Column>& columns) {
    std::string names;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? ", " : "") + quoteName(columns[i].name);
        marks += i ? ", ?" : "?";
    }
    return "INSERT INTO " + quoteName(table) + " (" + names + ") VALUES (" + marks + ")";
}

std::vector<Column> readTableColumns(Database& db, const std::string& table) {
    if (!db.hasTable(table))
        throw ToolError(db.path() + ": has no table " + table);
    Statement info(db, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid");
    info.bindText(1, table);
    std::vector<Column> columns;
    while (info.step())
        columns.push_back(makeColumn(info.columnText(0), info.columnText(1)));
    return columns;
}

} // namespace rackbook
