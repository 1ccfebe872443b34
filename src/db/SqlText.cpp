// Quoting of values and names for the program's SQL statements.
#include "db/SqlText.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

namespace {

// Words of the Access SQL dialect that cannot stand bare as a column name.
// The place and description columns of the usual table layout (Rack, Box,
// Position, Strain, ...) are deliberately absent: they are written bare.
constexpr std::string_view kKeywords[] = {"ADD",        "ALL",      "ALTER",       "AND",
                                          "ANY",        "AS",       "ASC",         "AUTOINCREMENT",
                                          "AVG",        "BETWEEN",  "BY",          "CASE",
                                          "CHECK",      "COLUMN",   "CONSTRAINT",  "COUNT",
                                          "CREATE",     "CROSS",    "CURRENT",     "DATABASE",
                                          "DATE",       "DEFAULT",  "DELETE",      "DESC",
                                          "DISALLOW",   "DISTINCT", "DISTINCTROW", "DROP",
                                          "ELSE",       "END",      "EQV",         "EXISTS",
                                          "FALSE",      "FOREIGN",  "FROM",        "FULL",
                                          "GROUP",      "HAVING",   "IMP",         "IN",
                                          "INDEX",      "INNER",    "INSERT",      "INTO",
                                          "IS",         "JOIN",     "KEY",         "LEFT",
                                          "LIKE",       "LIMIT",    "MAX",         "MIN",
                                          "MOD",        "NOT",      "NULL",        "OFFSET",
                                          "ON",         "OR",       "ORDER",       "OUTER",
                                          "PARAMETERS", "PERCENT",  "PIVOT",       "PRIMARY",
                                          "REFERENCES", "RIGHT",    "SELECT",      "SET",
                                          "SUM",        "TABLE",    "THEN",        "TIME",
                                          "TIMESTAMP",  "TO",       "TOP",         "TRANSFORM",
                                          "TRUE",       "UNION",    "UNIQUE",      "UPDATE",
                                          "USING",      "VALUES",   "VIEW",        "WHEN",
                                          "WHERE",      "WITH",     "XOR",         "CONVERT"};

std::string upperCase(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool isNameStart(unsigned char c) {
    return std::isalpha(c) || c == '_';
}
bool isNameChar(unsigned char c) {
    return std::isalnum(c) || c == '_';
}

} // namespace

std::string escapeValue(const std::string& value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        escaped += c;
        if (c == '\'')
            escaped += '\'';
    }
    return escaped;
}

bool isSqlKeyword(const std::string& name) {
    const std::string upper = upperCase(name);
    return std::find(std::begin(kKeywords), std::end(kKeywords), upper) != std::end(kKeywords);
}

bool isPlainName(const std::string& name) {
    if (name.empty() || !isNameStart(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name) {
        if (!isNameChar(static_cast<unsigned char>(c)))
            return false;
    }
    return !isSqlKeyword(name);
}

std::string sqlName(const std::string& name) {
    if (isPlainName(name))
        return name;
    std::string quoted = "[";
    for (char c : name) {
        quoted += c;
        if (c == ']')
            quoted += ']';
    }
    return quoted + "]";
}
