// The main window's widget tree, built in a fixed order: the order of
// creation is the order of the children, and each group takes the widgets
// created between its construction and its end().
#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/ApplicationState.h"
#include "app/IcoLoader.h"
#include "browse/Listing.h"
#include "browse/Search.h"
#include "edit/DeleteRecord.h"
#include "edit/EditRow.h"
#include "edit/SaveRecord.h"
#include "file/OpenDatabase.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include <cstdlib>

namespace {

constexpr Fl_Align kTopLeftInside = FL_ALIGN_TOP | FL_ALIGN_LEFT | FL_ALIGN_INSIDE; // 21
constexpr Fl_Align kLeftInside = FL_ALIGN_LEFT | FL_ALIGN_INSIDE;                   // 20
constexpr Fl_Color kNewItemGreen = 61;
constexpr Fl_Color kUpdateYellow = 135;
constexpr Fl_Color kDeleteOrange = 92;
constexpr Fl_Color kOpenGreen = 2; // #00FF00 in the default colour map
constexpr Fl_Color kPlainRed = 1;  // #FF0000 in the default colour map

Fl_Group* beginGroup(int x, int y, int w, int h, const char* label) {
    auto* group = new Fl_Group(x, y, w, h, label);
    group->box(FL_SHADOW_BOX);
    group->labelfont(FL_HELVETICA_BOLD_ITALIC);
    group->labelsize(11);
    group->align(kTopLeftInside);
    return group;
}

// A button in the common style; `color` < 0 keeps the toolkit's colour.
Fl_Button* makeButton(int x, int y, int w, int h, const char* label, int color,
                      Fl_Callback* callback) {
    auto* button = new Fl_Button(x, y, w, h, label);
    button->box(FL_PLASTIC_UP_BOX);
    if (color >= 0)
        button->color(static_cast<Fl_Color>(color));
    button->clear_visible_focus();
    button->callback(callback);
    return button;
}

Fl_Choice* makeSelector(int x, int y, int w, int h) {
    auto* selector = new Fl_Choice(x, y, w, h);
    selector->down_box(FL_PLASTIC_DOWN_BOX);
    selector->callback(checkState_cb);
    selector->clear_visible_focus();
    return selector;
}

Fl_Output* makeCaption(int x, int y, int w, int h, const char* text) {
    auto* caption = new Fl_Output(x, y, w, h);
    caption->box(FL_FLAT_BOX);
    caption->color(FL_BACKGROUND_COLOR);
    caption->textsize(12);
    caption->align(FL_ALIGN_INSIDE);
    caption->clear_visible_focus();
    caption->value(text);
    return caption;
}

Fl_Output* makeFixedCaption(int x, int y, int w, int h, const char* text) {
    auto* caption = new Fl_Output(x, y, w, h);
    caption->box(FL_FLAT_BOX);
    caption->color(FL_BACKGROUND_COLOR);
    caption->textsize(12);
    caption->value(text);
    return caption;
}

void buildTools() {
    ApplicationState& s = appState;
    Fl_Group* tools = beginGroup(5, 660, 1128, 77, "Tools");
    s.newItemButton = makeButton(75, 666, 68, 21, "New Item", kNewItemGreen, newItem_cb);
    s.updateItemButton = makeButton(429, 666, 85, 21, "Update Item", kUpdateYellow, updateItem_cb);
    s.deleteItemButton = makeButton(760, 666, 85, 21, "Delete Item", kDeleteOrange, deleteItem_cb);
    s.openButton = makeButton(15, 699, 68, 21, "Open", kOpenGreen, choose_database_cb);
    s.pathInput = new Fl_Input(135, 699, 365, 21, "Path:");
    s.pathInput->callback(open_database_cb);
    s.reopenButton = makeButton(515, 699, 68, 21, "Re-open", -1, open_database_cb);
    s.setTemplateButton = makeButton(621, 699, 115, 21, "Set as Template", -1, setAsTemplate_cb);
    s.useTemplateButton = makeButton(746, 699, 100, 21, "Use Template", -1, useTemplate_cb);
    s.exitButton = makeButton(1039, 707, 65, 21, "Exit", kPlainRed, exit_cb);
    tools->end();
    // Inside the Tools frame on screen, but a child of the window itself.
    s.helpButton = makeButton(964, 708, 68, 21, "Help", -1, showHelp);
}

void buildLocation() {
    ApplicationState& s = appState;
    Fl_Group* location = beginGroup(5, 6, 237, 62, "Location");
    s.selectors[0] = makeSelector(12, 37, 70, 21);
    s.selectors[1] = makeSelector(89, 37, 67, 21);
    s.selectors[2] = makeSelector(163, 37, 67, 21);
    s.selectorCaptions[0] = makeCaption(11, 19, 75, 19, "Rack");
    s.selectorCaptions[1] = makeCaption(87, 20, 65, 17, "Box");
    s.selectorCaptions[2] = makeCaption(163, 20, 69, 17, "Position");
    location->end();
}

void buildDetails() {
    ApplicationState& s = appState;
    Fl_Group* details = beginGroup(248, 6, 443, 62, "Details");
    s.selectors[3] = makeSelector(253, 37, 80, 21);
    s.selectors[4] = makeSelector(338, 37, 80, 21);
    s.selectors[6] = makeSelector(509, 37, 80, 21); // created before selector 5
    s.selectors[5] = makeSelector(424, 37, 80, 21);
    s.selectors[7] = makeSelector(595, 37, 80, 21);
    s.selectorCaptions[3] = makeCaption(253, 21, 80, 17, "Strain");
    s.selectorCaptions[4] = makeCaption(337, 21, 80, 17, "Plasmid");
    s.selectorCaptions[5] = makeCaption(423, 21, 80, 17, "Subunit");
    s.selectorCaptions[6] = makeCaption(508, 21, 80, 17, "Mutation");
    s.selectorCaptions[7] = makeCaption(593, 21, 80, 17, "Antibiotic");
    details->end();
}

void buildDates() {
    ApplicationState& s = appState;
    Fl_Group* dates = beginGroup(696, 6, 195, 62, "Dates");
    s.startDateCaption = makeCaption(701, 19, 70, 17, "Start");
    s.endDateCaption = makeCaption(791, 19, 70, 17, "End");
    s.startDateInput = new Fl_Input(701, 37, 82, 21);
    s.startDateInput->callback(checkState_cb);
    s.endDateInput = new Fl_Input(794, 37, 82, 21);
    s.endDateInput->callback(checkState_cb);
    dates->end();
}

template <typename Table> void styleTable(Table* table) {
    table->box(FL_NO_BOX);
    table->color(FL_BACKGROUND_COLOR);
    table->selection_color(FL_BACKGROUND_COLOR);
    table->labeltype(FL_NORMAL_LABEL);
    table->labelfont(FL_HELVETICA);
    table->labelsize(12);
    table->labelcolor(FL_FOREGROUND_COLOR);
    table->align(FL_ALIGN_CENTER);
}

void buildDatabase(Fl_Double_Window* window) {
    ApplicationState& s = appState;
    Fl_Group* database = beginGroup(5, 78, 1127, 577, "Database");
    s.mainTable = new MyTable(10, 94, 1109, 501, "mainTable");
    styleTable(s.mainTable);
    s.mainTable->when(FL_WHEN_RELEASE);
    setup_main_table(s.mainTable);
    s.editTable = new SingleInput(10, 598, 1109, 51, "editTable");
    styleTable(s.editTable);
    s.editTable->when(FL_WHEN_ENTER_KEY_ALWAYS);
    setup_edit_table(s.editTable);
    database->end();
    window->resizable(database);
}

Fl_Box* makeDateLabel(int x, int y, int w, int h, const char* label) {
    auto* box = new Fl_Box(x, y, w, h, label);
    box->labelfont(FL_HELVETICA_BOLD);
    box->labelsize(13);
    box->align(kLeftInside);
    return box;
}

void buildCustomSearch() {
    ApplicationState& s = appState;
    Fl_Group* search = beginGroup(896, 6, 236, 62, "Custom search");
    s.searchFieldChoice = new Fl_Choice(904, 37, 95, 21);
    s.searchFieldChoice->down_box(FL_BORDER_BOX);
    s.searchFieldChoice->align(FL_ALIGN_TOP | FL_ALIGN_LEFT);
    s.searchFieldCaption = makeFixedCaption(903, 19, 90, 17, "Field ID");
    s.searchTextCaption = makeFixedCaption(1009, 17, 90, 19, "Search for");
    s.searchInput = new Fl_Input(1009, 37, 105, 21);
    s.searchInput->value("");
    s.searchInput->callback(search_cb_cb);
    search->end();
}

} // namespace

void newItem_cb(Fl_Widget*, void*) {
    newItem();
}
void updateItem_cb(Fl_Widget*, void*) {
    updateItem();
}
void deleteItem_cb(Fl_Widget*, void*) {
    deleteItem();
}
void choose_database_cb(Fl_Widget*, void*) {
    choose_database();
}
void open_database_cb(Fl_Widget*, void*) {
    open_database(appState.pathInput->value());
}
void setAsTemplate_cb(Fl_Widget*, void*) {
    setAsTemplate();
}
void useTemplate_cb(Fl_Widget*, void*) {
    useTemplate();
}
void exit_cb(Fl_Widget*, void*) {
    std::exit(0);
}
void checkState_cb(Fl_Widget*, void*) {
    checkState();
}
void search_cb_cb(Fl_Widget*, void*) {
    search_cb();
}

void buildMainWindow() {
    auto* window = new Fl_Double_Window(1139, 736);
    appState.mainWindow = window;
    buildTools();
    buildLocation();
    buildDetails();
    buildDates();
    buildDatabase(window);
    makeDateLabel(1000, 664, 85, 19, "Date format:");
    makeDateLabel(1025, 681, 85, 19, "YYYY-MM-DD")->labelcolor(kPlainRed);
    buildCustomSearch();
}

void set_title_and_help() {
    Fl_Double_Window* window = appState.mainWindow;
    window->label(kMainWindowTitle);
    window->position(1, 1);
    setWindowIconFromFile(window, kWindowIconPath); // no file: the default icon stays
    addHelpLines(kMainWindowTitle);
}
