// Filling the result table from a SELECT.
#include "browse/ResultListing.h"

#include "app/ApplicationState.h"
#include "db/DbConnection.h"
#include "db/ResultColumns.h"
#include "db/ShowError.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl.H>

#include <utility>

void emptyResultTable() {
    appState.mainTable->clearRows();
    appState.mainTable->clear();
}

namespace {

// The result table's rows and columns as listed, each column as wide as the
// edit table's column of the same index.
void shapeResultTable() {
    MyTable& table = *appState.mainTable;
    // New rows take the height of the last row there is; giving that row 19
    // first lets row_height_all find nothing to change, where changing each
    // of n rows one by one would recompute the table's height n times.
    table.rows(1);
    table.row_height(0, 19);
    table.rows(table.dataRowCount());
    table.cols(table.dataColumnCount());
    table.row_height_all(19);
    for (int c = 0; c < table.cols(); ++c)
        table.col_width(c, appState.editTable->col_width(c));
}

// Index of the date column among the result columns, or -1.  SELECT *
// returns the columns in the order of columnNames.
int resultDateColumn(int resultColumns) {
    const int date = dateColumnIndex(appState.columnNames);
    return date < resultColumns ? date : -1;
}

} // namespace

bool listRows(DbConnection& connection, const std::string& statementText,
              const ListingTexts& texts) {
    SQLHSTMT statement = connection.statement();
    if (!succeeded(executeStatement(statement, statementText))) {
        closeConnection(connection, false);
        showError(texts.executeFailed);
        return false;
    }
    const int columns = resultColumnCount(statement);
    if (columns == 0) {
        closeConnection(connection, false);
        showError(texts.noColumns);
        return false;
    }
    {
        ResultColumns result(statement, columns);
        const int dateColumn = resultDateColumn(columns);
        while (result.fetch()) {
            // The texts go straight from the fetch buffers into the table's
            // row storage: a large listing spends its time in the database,
            // not in copies and allocations here.
            std::vector<std::string>& texts = appState.mainTable->appendRow();
            texts.resize(columns);
            for (int i = 0; i < columns; ++i) {
                std::string_view text = result.view(i); // empty for NULL
                if (i == dateColumn)
                    text = text.substr(0, 10); // the date of a Date/Time value
                texts[i].assign(text.data(), text.size());
            }
        }
    }
    closeConnection(connection, true);
    shapeResultTable();
    Fl::check();
    return true;
}
