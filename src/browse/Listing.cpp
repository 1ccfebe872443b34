// The filtered listing: the records that every selector's chosen value and
// the date range admit.
#include "browse/Listing.h"

#include "app/ApplicationState.h"
#include "browse/ResultListing.h"
#include "db/DbConnection.h"
#include "db/MenuText.h"
#include "db/ShowError.h"
#include "db/Statements.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include <cstring>

namespace {

const ListingTexts kListingTexts = {"Error SQLExecDirect()\nin checkState()",
                                    "Error in the SELECT DISTINCT quary\nin checkState()"};

// One term per selector before the first caption "None" whose chosen item
// is past "*".
std::vector<FilterTerm> selectorTerms() {
    std::vector<FilterTerm> terms;
    for (int k = 0; k < kSelectorCount; ++k) {
        const char* caption = appState.selectorCaptions[k]->value();
        if (std::strcmp(caption, "None") == 0)
            break;
        const Fl_Choice& selector = *appState.selectors[k];
        if (selector.value() <= 0)
            continue;
        if (const std::optional<std::string> value = chosenMenuValue(selector))
            terms.push_back({caption, *value});
    }
    return terms;
}

} // namespace

void checkState() {
    const std::string path = appState.pathInput->value();
    emptyResultTable();
    std::optional<DbConnection> connection = openConnection(path, kLabelListing);
    if (!connection)
        return;
    const std::optional<std::string> statement = listingStatement(
        selectorTerms(), appState.startDateInput->value(), appState.endDateInput->value());
    if (!statement) {
        // A date text that would break out of its literal is refused as the
        // database refuses any text that is no date.
        closeConnection(*connection, false);
        showError(kListingTexts.executeFailed);
        return;
    }
    listRows(*connection, *statement, kListingTexts);
}
