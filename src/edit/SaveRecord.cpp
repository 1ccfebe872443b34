// The save: the edit row's checks, then in one connection the place check,
// the occupancy query, the UPDATE or INSERT, and the refreshed date range;
// afterwards the records are listed again.  Progress lines "update 01" to
// "update 09" and the statement go to standard output.
#include "edit/SaveRecord.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "db/DateRange.h"
#include "db/DbConnection.h"
#include "db/ResultColumns.h"
#include "db/ShowError.h"
#include "db/Statements.h"
#include "edit/Validation.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Input.H>

#include <iostream>

namespace {

const char* const kOccupancyFailed = "Error SQLExecDirect()\n,in the update fcn";
const char* const kNoColumnsOccupied = "Error!\nthis place is already occupied!";
const char* const kPlaceTaken = "Error!\nThis field is already occupied";
const char* const kStatementFailed = "Error SQLExecDirect()\n,in the update fcn 2";

void progress(const std::string& line) {
    std::cout << line << std::endl;
}

std::string columnCountMismatch(int databaseColumns, int rowColumns) {
    return "Error!\nThe database reports " + std::to_string(databaseColumns) +
           " columns in StockTable,\nbut the edit row has " + std::to_string(rowColumns) +
           ".\nNothing was saved; please open the database again";
}

std::string recordGone(const std::string& key) {
    return "Error!\nThe record " + key +
           " no longer exists in the database\n(another program removed it).\nNothing was saved";
}

// The edit row's first n texts, after committing an edit still open.
std::vector<std::string> workingRow(int n) {
    appState.editTable->commitEdit();
    std::vector<std::string> row;
    for (int c = 0; c < n; ++c)
        row.push_back(appState.editTable->getCell(0, c));
    return row;
}

// True when another record than `oldKey` holds the place the occupancy
// query asked for.
bool placeTaken(SQLHSTMT statement, int columns, const std::string& oldKey) {
    ResultColumns result(statement, columns);
    while (result.fetch()) {
        if (result.isNull(0))
            continue;
        if (oldKey.empty() || result.text(0) != oldKey)
            return true;
    }
    return false;
}

} // namespace

void updateItem() {
    const int n = appState.mainTable->dataColumnCount();
    std::vector<std::string> row = workingRow(n);
    const std::vector<std::string>& names = appState.columnNames;
    const RowCheck check = checkEditRow(row, names);
    if (!check.passed()) {
        showError(check.refusal);
        return;
    }

    progress("update 01");
    OpenOptions options;
    options.onStepDone = [](OpenStep step) {
        progress("update 0" + std::to_string(static_cast<int>(step) + 1));
    };
    std::optional<DbConnection> connection =
        openConnection(appState.pathInput->value(), kLabelSave, options);
    if (!connection)
        return;
    SQLHSTMT statement = connection->statement();

    if (placeMissing(row)) {
        closeConnection(*connection, false);
        showError(placeMissingMessage(names));
        return;
    }
    progress("update 07");
    const std::string key = placeKey(row);
    const std::string oldKey = row[0];

    if (!succeeded(executeStatement(statement, occupancyStatement(names[0], key)))) {
        closeConnection(*connection, false);
        showError(kOccupancyFailed);
        return;
    }
    progress("update 08");
    const int k = resultColumnCount(statement);
    if (k == 0) {
        closeConnection(*connection, true);
        showError(kNoColumnsOccupied);
        return;
    }
    // Every position needs a value and a name: a table changed behind the
    // program's back is not written at all.
    if (k != n || static_cast<int>(names.size()) < k) {
        closeConnection(*connection, true);
        showError(columnCountMismatch(k, n));
        return;
    }
    progress("update 09");
    if (placeTaken(statement, k, oldKey)) {
        closeConnection(*connection, true);
        showError(kPlaceTaken);
        return;
    }
    SQLFreeStmt(statement, SQL_CLOSE);

    const std::vector<std::string> columns(names.begin(), names.begin() + k);
    row[0] = key;
    const bool isUpdate = !oldKey.empty();
    std::string text;
    if (isUpdate) {
        text = updateStatement(columns, row, check.dateColumn, oldKey);
        appState.editTable->setCell(0, 0, key);
        appState.editTable->cols(n);
    } else {
        text = insertStatement(columns, row, check.dateColumn);
    }
    progress(text);

    const SQLRETURN executed = executeStatement(statement, text);
    SQLLEN changed = -1;
    if (succeeded(executed))
        SQLRowCount(statement, &changed);
    // A compliant driver answers an UPDATE that matched nothing with
    // SQL_NO_DATA; either way the record it was meant for is gone.
    if (isUpdate && (executed == SQL_NO_DATA || (succeeded(executed) && changed == 0))) {
        closeConnection(*connection, false);
        showError(recordGone(oldKey));
        return;
    }
    if (!succeeded(executed)) {
        closeConnection(*connection, false);
        showError(kStatementFailed);
        return;
    }
    SQLFreeStmt(statement, SQL_CLOSE);

    DateBoundTexts texts;
    texts.minFailed = "Error SQLExecDirect(), setting the MinDates\nin update fcn";
    texts.minNoColumns = "SQLExecDirect(), setting the MinDates\nin update fcn";
    if (!readDateBounds(*connection, texts))
        return;
    closeConnection(*connection, false);
    checkState();
}
