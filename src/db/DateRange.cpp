// Reading the date range of StockTable.
#include "db/DateRange.h"

#include "app/ApplicationState.h"
#include "db/DbConnection.h"
#include "db/ResultColumns.h"
#include "db/ShowError.h"
#include "db/Statements.h"

#include <FL/Fl_Input.H>

namespace {

// Runs one bound query and writes each non-NULL value's date into `field`.
bool readBound(DbConnection& connection, const char* statementText, Fl_Input& field,
               const std::string& failedText, const std::string& noColumnsText) {
    SQLHSTMT statement = connection.statement();
    if (!succeeded(executeStatement(statement, statementText))) {
        closeConnection(connection, false);
        showError(failedText);
        return false;
    }
    const int columns = resultColumnCount(statement);
    if (columns == 0) {
        closeConnection(connection, false);
        showError(noColumnsText);
        return false;
    }
    {
        ResultColumns result(statement, columns);
        while (result.fetch()) {
            for (int i = 0; i < result.count(); ++i) {
                if (!result.isNull(i))
                    field.value(datePart(result.text(i)).c_str());
            }
        }
    }
    SQLFreeStmt(statement, SQL_CLOSE);
    return true;
}

} // namespace

bool readDateBounds(DbConnection& connection, const DateBoundTexts& texts) {
    return readBound(connection, kMinDatesStatement, *appState.startDateInput, texts.minFailed,
                     texts.minNoColumns) &&
           readBound(connection, kMaxDatesStatement, *appState.endDateInput, texts.maxFailed,
                     texts.maxNoColumns);
}
