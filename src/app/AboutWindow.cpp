// The about window, its help text and its three callbacks.
#include "app/AboutWindow.h"

#include "app/AboutImage.h"
#include "app/ApplicationState.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

#include <string>

namespace {
// The lines after the title, with the browser's format codes: "@b" bold,
// "@i" italic, "@C" followed by a colour index.
const char* const kHelpLines[] = {
    "@bFor the stock keepers of the lab; built with FLTK and ODBC.",
    "@i@C4Questions: the lab inventory maintainers.",
    " ",
    "@b@C1Important:",
    "- the database Table should be named as 'StockTable'",
    "- the Date field in the StockTable should be named as 'Dates_ID'",
    "- names of all other fields are arbitrary",
    "- selectors are automatically filled with information in the fields",
    "  preceding Dates_ID",
    "- during creation of a new database it is important to allow Zero Size of",
    "  the fields",
    "- when you open a database, it is back-uped to /backup folder",
    " ",
    "@bHow to create a new database:",
    "- Start Microsoft Access",
    "- create a database (File->New->Blank Database)",
    "- select 'create table in Design view'",
    "- add field names, where the 1st field should be reserved for index, name it",
    "  as Index_ID; set Data Type as Text; increase Field Size to 255;",
    "  check that Allow Zero Length is 'Yes'; leave Caption field empty",
    "- right click on the Index_ID as set it as Primary Key",
    "- create 3 other fields that should define position of your items somewhere",
    "  ex. Rack; Box; Position",
    "- Put other fields for description of the items: Strain, Mutation ...",
    "- Add 'Dates_ID' field, set its type to Date/Time.",
    "- Add Comments field",
    "- Save the table as 'StockTable'",
    "- Add a single dummy item into the database",
};
} // namespace

void buildAboutWindow() {
    auto* window = new Fl_Double_Window(660, 414, "About...");
    window->box(FL_ENGRAVED_BOX);
    window->set_modal();
    appState.aboutWindow = window;

    auto* close = new Fl_Button(272, 379, 115, 25, "Close");
    close->box(FL_PLASTIC_UP_BOX);
    close->color(FL_RED);
    close->callback(closeAbout);
    close->clear_visible_focus();
    appState.aboutCloseButton = close;

    auto* help = new Fl_Browser(145, 13, 503, 356, "helpText3");
    help->type(FL_HOLD_BROWSER);
    help->box(FL_NO_BOX);
    help->color(FL_BACKGROUND_COLOR);
    help->selection_color(FL_BACKGROUND_COLOR);
    help->labeltype(FL_NORMAL_LABEL);
    help->labelfont(FL_HELVETICA);
    help->labelsize(14);
    help->labelcolor(FL_FOREGROUND_COLOR);
    help->align(FL_ALIGN_CENTER);
    help->when(FL_WHEN_CHANGED);
    help->callback(clearHelpSelection);
    appState.helpText3 = help;

    auto* picture = new Fl_Box(60, 79, 30, 16);
    picture->image(aboutImage); // larger than the box: drawn centred over it

    window->end();
}

void addHelpLines(const char* title) {
    appState.helpText3->add((std::string("@b") + title).c_str());
    for (const char* line : kHelpLines)
        appState.helpText3->add(line);
}

void showHelp(Fl_Widget*, void*) {
    Fl_Double_Window* main = appState.mainWindow;
    Fl_Double_Window* about = appState.aboutWindow;
    const int x = main->x() + main->w() / 2 - about->w() / 2;
    const int y = main->y() + main->h() / 2 - about->h() / 2;
    about->position(x, y);
    about->show();
}

void closeAbout(Fl_Widget*, void*) {
    appState.aboutWindow->hide();
    appState.mainWindow->show(); // already shown: this raises it
}

void clearHelpSelection(Fl_Widget*, void*) {
    appState.helpText3->deselect(0);
}
