// What the filtered listing and the custom search share: emptying the result
// table, running the SELECT on an open connection, handing every fetched row
// to the result table as texts, and shaping the table afterwards.
#pragma once

#include <string>
#include <vector>

class DbConnection;

// clearRows() and clear() on the result table.
void emptyResultTable();

// The alert texts of one listing operation.
struct ListingTexts {
    std::string executeFailed; // "Error SQLExecDirect()\nin checkState()"
    std::string noColumns;     // "Error in the SELECT DISTINCT quary\nin checkState()"
};

// Executes `statement` on the open connection and lists its rows in the
// result table, then releases the connection (cursor first) and shapes the
// table.  On a failure it releases the connection, shows the alert and
// returns false.
bool listRows(DbConnection& connection, const std::string& statement, const ListingTexts& texts);
