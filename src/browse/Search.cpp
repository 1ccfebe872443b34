// The custom search: the records whose chosen column contains the typed
// text, whatever the selectors and the date range say.
#include "browse/Search.h"

#include "app/ApplicationState.h"
#include "browse/ResultListing.h"
#include "db/DbConnection.h"
#include "db/MenuText.h"
#include "db/ShowError.h"
#include "db/Statements.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>

namespace {

const ListingTexts kSearchTexts = {"Error SQLExecDirect()\nin search_cb()",
                                   "Error in the SELECT DISTINCT quary\nin search_cb()"};

const char* const kNoSearchColumn = "Error!\nThere is no column to search in\nin search_cb()";

// The column chosen in "Field ID".  Right after an open no item is chosen;
// the search then takes the first column (the key) and shows it as chosen,
// so the user sees which column was searched.
std::optional<std::string> searchColumn() {
    Fl_Choice& choice = *appState.searchFieldChoice;
    if (choice.value() < 0 && choice.size() > 1)
        choice.value(0);
    return chosenMenuValue(choice);
}

} // namespace

int search_cb() {
    const std::string path = appState.pathInput->value();
    emptyResultTable();
    std::optional<DbConnection> connection = openConnection(path, kLabelSearch);
    if (!connection)
        return -1;
    const std::optional<std::string> column = searchColumn();
    if (!column) {
        closeConnection(*connection, false);
        showError(kNoSearchColumn);
        return -1;
    }
    const std::string statement = searchStatement(*column, appState.searchInput->value());
    return listRows(*connection, statement, kSearchTexts) ? 0 : -1;
}
