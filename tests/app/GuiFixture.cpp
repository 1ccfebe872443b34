// Event helpers for the window tests.
#include "GuiFixture.h"

#include <FL/x.H>

#include <unistd.h>

#include <cstring>

namespace {

// The virtual X server resets itself whenever its last client leaves, and
// refuses connections while it does; a test started just then retries
// instead of failing.  The connection is then handed to the toolkit.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (Display* display = XOpenDisplay(nullptr)) {
                fl_open_display(display);
                return;
            }
            usleep(100 * 1000);
        }
        FAIL() << "no X display";
    }
};

const auto* const displayEnvironment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

} // namespace

void WindowsTest::showMain() {
    appState.mainWindow->show();
    gui::settle(appState.mainWindow);
}

namespace gui {
namespace {

// The table's own cell geometry, reached through a derived class that
// re-exports the protected lookup.
struct TableProbe : Fl_Table {
    using Fl_Table::find_cell;
};

Point centerOf(Fl_Table* table, Fl_Table::TableContext context, int row, int col) {
    int x = 0, y = 0, w = 0, h = 0;
    auto findCell = &TableProbe::find_cell;
    (table->*findCell)(context, row, col, x, y, w, h);
    return Point{x + w / 2, y + h / 2};
}

void mouse(Fl_Window* window, int event, Point at, int button, int clicks) {
    Fl::e_x = at.x;
    Fl::e_y = at.y;
    Fl::e_x_root = window->x_root() + at.x;
    Fl::e_y_root = window->y_root() + at.y;
    if (event == FL_PUSH) { // the click count is the press's; a release keeps it
        Fl::e_clicks = clicks;
        Fl::e_is_click = clicks > 0;
    }
    Fl::e_keysym = FL_Button + button;
    const int buttonState = button == 1 ? FL_BUTTON1 : button == 2 ? FL_BUTTON2 : FL_BUTTON3;
    Fl::e_state = event == FL_RELEASE ? 0 : buttonState;
    Fl::handle(event, window);
}

} // namespace

void settle(Fl_Window* window) {
    while (!window->visible())
        Fl::wait();
    XSync(fl_display, False);
    Fl::check();
    window->redraw();
    Fl::flush();
    XSync(fl_display, False);
    Fl::check();
}

Point cellCenter(Fl_Table* table, int row, int col) {
    return centerOf(table, Fl_Table::CONTEXT_CELL, row, col);
}

Point headerCenter(Fl_Table* table, int col) {
    return centerOf(table, Fl_Table::CONTEXT_COL_HEADER, 0, col);
}

void press(Fl_Window* window, Point at, int button, int clicks) {
    // The pointer arrives first: the widget under it gets FL_ENTER.
    Fl::e_x = at.x;
    Fl::e_y = at.y;
    Fl::e_x_root = window->x_root() + at.x;
    Fl::e_y_root = window->y_root() + at.y;
    Fl::e_state = 0;
    Fl::handle(FL_MOVE, window);
    mouse(window, FL_PUSH, at, button, clicks);
}

void release(Fl_Window* window, Point at, int button, int clicks) {
    mouse(window, FL_RELEASE, at, button, clicks);
}

void drag(Fl_Window* window, Point at, int button) {
    mouse(window, FL_DRAG, at, button, 0);
}

void click(Fl_Window* window, Point at, int button) {
    press(window, at, button, 0);
    release(window, at, button, 0);
}

void doubleClick(Fl_Window* window, Point at) {
    click(window, at);
    press(window, at, 1, 1);
    release(window, at, 1, 1);
}

void key(Fl_Window* window, int keysym, const char* text) {
    static char buffer[16];
    std::strncpy(buffer, text, sizeof buffer - 1);
    Fl::e_keysym = keysym;
    Fl::e_state = 0;
    Fl::e_text = buffer;
    Fl::e_length = static_cast<int>(std::strlen(buffer));
    Fl::handle(FL_KEYBOARD, window);
}

void typeText(Fl_Window* window, const std::string& text) {
    for (char c : text) {
        const char one[2] = {c, '\0'};
        key(window, static_cast<unsigned char>(c), one);
    }
}

} // namespace gui
