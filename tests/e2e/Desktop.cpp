// The person at the screen: see Desktop.h.
#include "Desktop.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <X11/Xlib.h> // last: its macros (None, Status) would reach the headers above

namespace desktop {

namespace {

// Single quotes for the shell around any text.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

void run(const std::string& command) {
    // The tools report failures on standard error; the test sees their
    // effects (or the lack of them) through the program instead.
    const int ignored = std::system((command + " >/dev/null 2>&1").c_str());
    (void)ignored;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

} // namespace

std::string capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

bool waitFor(const std::function<bool()>& condition, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (true) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        usleep(50 * 1000);
    }
}

std::set<std::string> topLevelWindows() {
    std::set<std::string> ids;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return ids;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                ids.insert(std::to_string(children[i]));
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return ids;
}

std::string waitForWindowTitled(const std::string& title, double seconds) {
    std::string id;
    waitFor(
        [&] {
            const std::vector<std::string> ids = lines(
                capture("xdotool search --onlyvisible --name " + quoted(title) + " 2>/dev/null"));
            if (!ids.empty())
                id = ids.front();
            return !id.empty();
        },
        seconds);
    return id;
}

std::string waitForNewWindow(const std::set<std::string>& known, double seconds) {
    std::string id;
    waitFor(
        [&] {
            for (const std::string& w : topLevelWindows()) {
                if (known.count(w) == 0) {
                    id = w;
                    return true;
                }
            }
            return false;
        },
        seconds);
    return id;
}

bool waitUntilGone(const std::string& window, double seconds) {
    return waitFor([&] { return topLevelWindows().count(window) == 0; }, seconds);
}

void moveTo(const std::string& window, int x, int y) {
    run("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y));
}

void click(const std::string& window, int x, int y) {
    moveTo(window, x, y);
    run("xdotool click 1");
}

void doubleClick(const std::string& window, int x, int y) {
    moveTo(window, x, y);
    run("xdotool click --repeat 2 --delay 80 1");
}

void parkPointer() {
    run("xdotool mousemove 1590 990");
}

void keys(const std::string& names) {
    run("xdotool key --delay 30 " + names);
}

void type(const std::string& text) {
    run("xdotool type --delay 20 " + quoted(text));
}

void focus(const std::string& window) {
    run("xdotool windowfocus --sync " + window);
}

bool screenshot(const std::string& window, const std::string& path) {
    return std::system(
               ("import -window " + window + " " + quoted(path) + " 2>/dev/null").c_str()) == 0;
}

Picture Picture::read(const std::string& path) {
    Picture picture;
    const std::string ppm = capture("convert " + quoted(path) + " -depth 8 ppm:- 2>/dev/null");
    // Binary PPM: "P6", width, height, maximum value, one blank, pixels.
    std::istringstream in(ppm);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width_ >> picture.height_ >> maximum;
    in.get();
    if (magic != "P6" || maximum != 255 || picture.width_ <= 0 || picture.height_ <= 0)
        return Picture{};
    const size_t size = static_cast<size_t>(picture.width_) * picture.height_ * 3;
    const size_t offset = static_cast<size_t>(in.tellg());
    if (ppm.size() < offset + size)
        return Picture{};
    picture.pixels_.assign(ppm.begin() + offset, ppm.begin() + offset + size);
    return picture;
}

Rgb Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return Rgb{0, 0, 0};
    const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
    return Rgb{pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

} // namespace desktop
