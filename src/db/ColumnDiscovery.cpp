// Column discovery: the names of StockTable's columns in table order, the
// search column chooser's items and the selector captions.
#include "db/ColumnDiscovery.h"

#include "app/ApplicationState.h"
#include "db/DbConnection.h"
#include "db/MenuText.h"
#include "db/ShowError.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Output.H>

#include <algorithm>
#include <cstring>

namespace {

const char* const kColumnsFailure =
    "SQLColumns(Retrieve a list of columns in the StockTable) \nError, in the set_column_names";

// The COLUMN_NAME buffer: a name longer than 63 bytes arrives cut.
constexpr int kNameBufferSize = 64;

} // namespace

void set_column_names(const std::string& path) {
    appState.columnNames.clear();

    OpenOptions options;
    options.connectionDiagnostics = true;
    std::optional<DbConnection> connection = openConnection(path, kLabelColumnNames, options);
    if (!connection)
        return;
    SQLHSTMT statement = connection->statement();

    SQLCHAR table[] = "StockTable";
    if (!succeeded(SQLColumns(statement, nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0))) {
        closeConnection(*connection, false);
        showError(kColumnsFailure);
        return;
    }

    char name[kNameBufferSize] = {0};
    SQLLEN nameIndicator = 0;
    SQLINTEGER dataType = 0; // bound as the catalogue defines it, never read
    SQLLEN typeIndicator = 0;
    SQLBindCol(statement, 4, SQL_C_CHAR, name, sizeof name, &nameIndicator);
    SQLBindCol(statement, 5, SQL_C_LONG, &dataType, sizeof dataType, &typeIndicator);

    appState.searchFieldChoice->clear();
    int count = 0;
    while (succeeded(SQLFetch(statement))) {
        const std::string columnName = nameIndicator == SQL_NULL_DATA
                                           ? std::string()
                                           : std::string(name, strnlen(name, sizeof name));
        appState.columnNames.push_back(columnName);
        addMenuValue(*appState.searchFieldChoice, columnName);
        ++count;
    }
    appState.columnCount = count;

    // The catalogue cursor is not closed first: the disconnect ends it.
    SQLFreeStmt(statement, SQL_UNBIND);
    closeConnection(*connection, false);
    Fl::check();
}

void set_selector_labels() {
    const std::vector<std::string>& names = appState.columnNames;
    if (names.size() < 2)
        return;
    const int last = std::min<int>(kSelectorCount, static_cast<int>(names.size()) - 1);
    for (int c = 1; c <= last; ++c) {
        if (names[c] != "Dates_ID") {
            appState.selectors[c - 1]->activate();
            appState.selectorCaptions[c - 1]->value(names[c].c_str());
            Fl::check();
            continue;
        }
        for (int k = c - 1; k < kSelectorCount; ++k) {
            appState.selectors[k]->deactivate();
            appState.selectorCaptions[k]->value("None");
            Fl::check();
        }
        return;
    }
    Fl::check();
}
