// Shared support for the window tests: a fixture that builds the program's two
// windows afresh for every test, and helpers that feed the toolkit real
// events (the same Fl::handle entry that the X event loop uses).
#pragma once

#include "app/AboutWindow.h"
#include "app/ApplicationState.h"
#include "app/MainWindow.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Table.H>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Builds both windows as main does (the about window first, then the main
// window, title and help), without showing them; deletes them afterwards and
// puts the application state back to its start-up values.
class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        appState = ApplicationState{};
        buildAboutWindow();
        buildMainWindow();
        set_title_and_help();
        appState.mainWindow->end();
    }
    void TearDown() override {
        delete appState.mainWindow;
        delete appState.aboutWindow;
        appState = ApplicationState{};
        Fl::focus(nullptr);
    }

    // Shows the main window and lets the toolkit map and draw it.
    void showMain();
};

namespace gui {

// Waits until `window` is mapped and has drawn itself: the X server is
// synchronised so that its Expose event is queued, then handled and drawn.
void settle(Fl_Window* window);

// The centre of a cell, or of a column header cell (row -1), in window
// coordinates, as the table itself computes it.
struct Point {
    int x;
    int y;
};
Point cellCenter(Fl_Table* table, int row, int col);
Point headerCenter(Fl_Table* table, int col);

// Mouse button `button` pressed at (x, y) of `window`; `clicks` is the count
// of earlier clicks in a multi-click (1 for the second click of a double).
void press(Fl_Window* window, Point at, int button = 1, int clicks = 0);
void release(Fl_Window* window, Point at, int button = 1, int clicks = 0);
void drag(Fl_Window* window, Point at, int button = 1);
void click(Fl_Window* window, Point at, int button = 1);
void doubleClick(Fl_Window* window, Point at);

// A key with its text ("" for keys without text) sent to the focus widget.
void key(Fl_Window* window, int keysym, const char* text);
void typeText(Fl_Window* window, const std::string& text);

} // namespace gui
