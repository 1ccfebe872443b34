// The earliest and latest Dates_ID of StockTable into the date range fields:
// shared by selector population and the save, which differ only in the
// texts of their alerts.
#pragma once

#include <string>

class DbConnection;

struct DateBoundTexts {
    std::string minFailed;    // the MIN query fails to execute
    std::string minNoColumns; // the MIN query reports no result column
    std::string maxFailed = "Error SQLExecDirect(), setting the MaxDates\n";
    std::string maxNoColumns = "SQLExecDirect(), setting the MaxDates\nSQLNumResultCols function";
};

// Runs the MIN and then the MAX query on the open connection; every non-NULL
// value sets startDateInput (MIN) or endDateInput (MAX) to its first 10
// characters.  On a failure it releases the connection, shows the alert and
// returns false; the field of a query that did not finish keeps its text.
bool readDateBounds(DbConnection& connection, const DateBoundTexts& texts);
