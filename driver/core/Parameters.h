// Binding the values of a statement's parameters to its prepared SQLite
// statement when it runs.
#pragma once

#include "Handles.h"

#include <sqlite3.h>

namespace mdblite {

class Diagnostics;

// Binds parameter `number` of `statement` from the client's buffer described
// by `p` (moved by *bindOffset when set). Texts go in as UTF-8, numbers as
// numbers, dates and timestamps as 'YYYY-MM-DD HH:MM:SS'. Returns SQL_SUCCESS,
// or SQL_ERROR with HYC00 for data at execution or an unsupported C type.
SQLRETURN bindParameterValue(sqlite3_stmt* statement, int number, const BoundParameter& p,
                             const SQLLEN* bindOffset, Diagnostics& diag);

} // namespace mdblite
