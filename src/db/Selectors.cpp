// Selector population: "*" and the distinct values of each captioned column,
// then the earliest and latest Dates_ID into the date range fields, all in
// one connection.
#include "db/Selectors.h"

#include "app/ApplicationState.h"
#include "db/DateRange.h"
#include "db/DbConnection.h"
#include "db/MenuText.h"
#include "db/ResultColumns.h"
#include "db/ShowError.h"
#include "db/Statements.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Output.H>

#include <cstring>

namespace {

enum class Outcome { Done, Failed };

// Fills selector k from its column.  On failure the alert has been shown
// (while the connection is still open, as the user reads it before the
// release) or, when the diagnostics could not be read, nothing is shown.
Outcome fillSelector(DbConnection& connection, int k) {
    Fl_Choice& selector = *appState.selectors[k];
    const std::string statementText =
        selectDistinctStatement(appState.selectorCaptions[k]->value());
    selector.clear();
    selector.add("*");

    SQLHSTMT statement = connection.statement();
    const SQLRETURN executed = executeStatement(statement, statementText);
    if (executed == SQL_ERROR && !writeStatementDiagnostics(statement))
        return Outcome::Failed;
    if (!succeeded(executed)) {
        showError("Error SQLExecDirect()\nin SELECT DISTINCT");
        return Outcome::Failed;
    }
    const int columns = resultColumnCount(statement);
    if (columns == 0) {
        showError("Error in the SELECT DISTINCT quary\n");
        return Outcome::Failed;
    }
    {
        ResultColumns result(statement, columns);
        while (result.fetch()) {
            for (int i = 0; i < result.count(); ++i) {
                if (!result.isNull(i))
                    addMenuValue(selector, result.text(i));
            }
        }
    }
    SQLFreeStmt(statement, SQL_CLOSE);
    selector.value(0);
    Fl::check();
    return Outcome::Done;
}

} // namespace

void set_selectors(const std::string& path) {
    std::optional<DbConnection> connection = openConnection(path, kLabelSelectors);
    if (!connection)
        return;
    for (int k = 0; k < kSelectorCount; ++k) {
        if (std::strcmp(appState.selectorCaptions[k]->value(), "None") == 0)
            break;
        if (fillSelector(*connection, k) == Outcome::Failed) {
            closeConnection(*connection, false);
            return;
        }
    }
    DateBoundTexts texts;
    texts.minFailed = "Error SQLExecDirect(), setting the MinDates\n";
    texts.minNoColumns = "SQLExecDirect(), setting the MinDates\nSQLNumResultCols function";
    if (!readDateBounds(*connection, texts))
        return;
    closeConnection(*connection, false);
    Fl::check();
}
