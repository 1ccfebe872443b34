// Deleting the record of the edit row, after the user confirmed a question
// that shows its key beside the STOP sign.
#include "edit/DeleteRecord.h"

#include "app/ApplicationState.h"
#include "app/Dialogs.h"
#include "browse/Listing.h"
#include "db/DbConnection.h"
#include "db/ResultColumns.h"
#include "db/ShowError.h"
#include "db/Statements.h"
#include "edit/EditRow.h"
#include "edit/StopIcon.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Input.H>

namespace {

const char* const kNewItem = "Error!\nThis is a new item, and can not be deleted";
const char* const kStatementFailed = "Error SQLExecDirect()\n,in the update fcn 2";
const char* const kNoColumns =
    "Error!\nThe columns of StockTable are not known;\nplease open the database again";

// Answer index of the third button, "OK".
constexpr int kOk = 2;

} // namespace

void deleteItem() {
    const std::string path = appState.pathInput->value();
    // The key is what cell 0 holds; an edit still open is not committed.
    const std::string key = appState.editTable->getCell(0, 0);
    if (key.empty()) {
        showError(kNewItem);
        return;
    }

    useStopIconForDialogs();
    const std::string question = "You are about to delete a record:\n" + key + "\n\nAre you sure?";
    if (askChoiceDialog(question, "Cancel", nullptr, "OK") != kOk)
        return;

    std::optional<DbConnection> connection = openConnection(path, kLabelSave);
    if (!connection)
        return;
    if (appState.columnNames.empty()) {
        closeConnection(*connection, false);
        showError(kNoColumns);
        return;
    }
    const SQLRETURN executed =
        executeStatement(connection->statement(), deleteStatement(appState.columnNames[0], key));
    // SQL_NO_DATA: the key matched no record (another program removed it);
    // nothing was deleted and the listing shows how things stand.
    if (!succeeded(executed) && executed != SQL_NO_DATA) {
        closeConnection(*connection, false);
        showError(kStatementFailed);
        return;
    }
    closeConnection(*connection, true);
    checkState();
    newItem();
}
