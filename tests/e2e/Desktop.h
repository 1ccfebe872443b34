// The person at the screen, for tests that drive the real program from
// outside: pointer and keys through xdotool (XTEST, the same path as a real
// keyboard and mouse), the program's top-level windows as the X server lists
// them, screenshots through ImageMagick and the pixels of a screenshot.
//
// Every wait is bounded: a helper that gives up returns an empty or false
// result and the test fails on it rather than hanging.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace desktop {

// Runs a shell command; its standard output, or "" when it could not start.
std::string capture(const std::string& command);

// Polls `condition` every 50 ms until it holds or `seconds` have passed.
bool waitFor(const std::function<bool()>& condition, double seconds);

// The ids (decimal, as xdotool prints them) of the mapped top-level windows
// on the display: with no window manager, every window a program maps, its
// menus included, is a child of the root window.
std::set<std::string> topLevelWindows();

// The id of the first mapped window whose title matches the regular
// expression `title`, waiting up to `seconds`; "" when none appears.
std::string waitForWindowTitled(const std::string& title, double seconds);

// A top-level window that is mapped and not among `known` (a dialog or a menu
// that just opened), waiting up to `seconds`; "" when none appears.
std::string waitForNewWindow(const std::set<std::string>& known, double seconds);

// True once `window` is no longer mapped, waiting up to `seconds`.
bool waitUntilGone(const std::string& window, double seconds);

// Pointer actions at (x, y) of `window`'s own coordinates.
void moveTo(const std::string& window, int x, int y);
void click(const std::string& window, int x, int y);
void doubleClick(const std::string& window, int x, int y);
void parkPointer(); // far corner of the screen, outside every window

// Keys go where the X server sends them: with no window manager, to the
// window under the pointer or to the window given the input focus.
void keys(const std::string& names); // xdotool key names: "Tab", "ctrl+a"
void type(const std::string& text);

// Gives `window` the input focus, as a window manager does for a window that
// has just opened.  The virtual display has no window manager.
void focus(const std::string& window);

// Saves a screenshot of `window` ("root" for the whole screen) as `path`.
bool screenshot(const std::string& window, const std::string& path);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A screenshot read back as pixels.
class Picture {
public:
    // Reads any image file that ImageMagick knows; empty on failure.
    static Picture read(const std::string& path);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }
    // The pixel at (x, y); black outside the picture.
    Rgb at(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> pixels_;
};

} // namespace desktop
