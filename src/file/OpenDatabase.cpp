// Opening a database: by the file chooser, a typed path or Re-open.  Every
// open backs the file up and then runs the loading steps in a fixed order,
// each whatever the one before it reported.
#include "file/OpenDatabase.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "db/ColumnDiscovery.h"
#include "db/Selectors.h"
#include "edit/EditRow.h"
#include "file/Backup.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>

#include <iostream>

void choose_database() {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
    chooser.title("Please select a database");
    chooser.filter("MS Access Database (*.mdb)\t*.mdb");
    switch (chooser.show()) {
    case -1:
        std::cerr << "ERROR: " << chooser.errmsg() << "\n" << std::flush;
        return;
    case 1:
        std::cerr << "*** CANCEL\n" << std::flush;
        return;
    default: {
        const char* name = chooser.filename();
        const std::string chosen = name != nullptr ? name : "";
        appState.pathInput->value(chosen.c_str());
        open_database(chosen);
    }
    }
}

void open_database(const std::string& path) {
    // The path as it names the file here: its '/' separators are kept.
    std::cout << path << std::endl;

    const std::string failure = makeBackup(path);
    if (!failure.empty())
        std::cerr << "Backup of the database failed: " << failure << std::endl;

    set_column_names(path);
    set_selector_labels();
    set_selectors(path);
    checkState();
    appState.mainTable->fitColumnWidths(3);
    newItem();
    setup_edit_table(appState.editTable);
    Fl::check();
}
