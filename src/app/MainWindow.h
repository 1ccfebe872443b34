// The main window: its widget tree, the callbacks that connect each widget to
// its operation, and the title, position, icon and help text set before it
// is shown.
#pragma once

class Fl_Widget;

// The window's title, also the first line of the help text.
constexpr const char* kMainWindowTitle = "Rackbook, ver 1.12 /14.12.2008";

// The icon file, looked up relative to the current directory.
constexpr const char* kWindowIconPath = "./images/rackbook.ico";

// Builds the main window (without a title) and every widget in it, filling
// the handles of appState; the window is left open (not ended) for main.
void buildMainWindow();

// Title, position (1, 1) and icon of the main window, then the help lines.
void set_title_and_help();

// The widget callbacks.  Each ignores its arguments and runs one operation.
void newItem_cb(Fl_Widget*, void*);
void updateItem_cb(Fl_Widget*, void*);
void deleteItem_cb(Fl_Widget*, void*);
void choose_database_cb(Fl_Widget*, void*);
void open_database_cb(Fl_Widget*, void*); // the "Path:" field and Re-open
void setAsTemplate_cb(Fl_Widget*, void*);
void useTemplate_cb(Fl_Widget*, void*);
void exit_cb(Fl_Widget*, void*);
void checkState_cb(Fl_Widget*, void*);
void search_cb_cb(Fl_Widget*, void*);
