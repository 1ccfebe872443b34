// Converting a value of the current row into the C type a client asked for
// (SQLBindCol at fetch time, SQLGetData), with ODBC's truncation and NULL rules.
#pragma once

#include "ResultSet.h"

#include <sql.h>
#include <sqlext.h>

#include <cstddef>

namespace mdblite {

class Diagnostics;

struct CTarget {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLPOINTER data = nullptr;
    SQLLEN capacity = 0;         // bytes, for variable-length types
    SQLLEN* indicator = nullptr; // length or SQL_NULL_DATA
};

// Where SQLGetData stands in one column of the current row: texts and binary
// values may be read in pieces.
struct PieceState {
    size_t offset = 0; // bytes of the converted value already returned
    bool done = false; // the whole value has been returned
};

// Converts column `col` (from 0) of the current row of `rows`, whose SQL type is
// `sqlType`, into `target`. Returns SQL_SUCCESS; SQL_SUCCESS_WITH_INFO with 01004
// (text cut, NUL-terminated, full length in the indicator) or 01S07; SQL_ERROR
// with 22002, 22003, 22018 or 07006; SQL_NO_DATA when `piece` shows the value has
// been returned already. `piece` is null for bound columns.
SQLRETURN convertValue(const ResultSet& rows, int col, SQLSMALLINT sqlType, const CTarget& target,
                       PieceState* piece, Diagnostics& diag);

// Parses 'YYYY-MM-DD', 'YYYY/MM/DD' or either followed by ' HH:MM:SS[.fraction]'.
bool parseTimestamp(std::string_view text, SQL_TIMESTAMP_STRUCT& out);

// UTF-8 to UTF-16 (SQLWCHAR) and back, for the wide C types.
std::basic_string<SQLWCHAR> utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(const SQLWCHAR* text, size_t units);

} // namespace mdblite
