// How texts enter the program's SQL statements: values between apostrophes
// with their own apostrophes doubled, and column names bare when the
// database reads them as plain names, in [brackets] otherwise.
#pragma once

#include <string>

// The value with every apostrophe doubled, ready to stand between two
// apostrophes in a statement ("don't" -> "don''t").
std::string escapeValue(const std::string& value);

// True for a name the dialect reads as a keyword (case-insensitive).
bool isSqlKeyword(const std::string& name);

// True when the name can stand bare: letters, digits and underscores, not
// starting with a digit, and no keyword.
bool isPlainName(const std::string& name);

// The column name as a statement writes it: bare when plain, otherwise in
// brackets (a ']' inside is doubled).
std::string sqlName(const std::string& name);
