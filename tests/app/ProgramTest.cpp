// Starts the real program under the X server of the test run and looks at
// its windows from outside, through X: title, size, position hints, icon,
// the about window's place, screenshots, and the two ways the program ends.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <X11/Xlib.h> // after the test framework: its macros clash with the framework's names

namespace {

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

// The first number after `label` in `text`, or -1.
int numberAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    if (at == std::string::npos)
        return -1;
    return std::atoi(text.c_str() + at + label.size());
}

// Holds one connection to the X server for the whole run: the virtual
// server resets itself whenever its last client leaves and refuses new
// clients while it does, which would fail the program's start or a tool.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        for (int attempt = 0; attempt < 100 && !display; ++attempt) {
            display = XOpenDisplay(nullptr);
            if (!display)
                usleep(100 * 1000);
        }
        ASSERT_NE(display, nullptr) << "no X display";
    }
    void TearDown() override {
        if (display)
            XCloseDisplay(display);
    }

private:
    Display* display = nullptr;
};

const auto* const displayEnvironment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

// Parks the pointer in the screen's far corner, outside every window, so
// that no window is entered by accident while it maps.
void parkPointer() {
    run("xdotool mousemove 1590 990");
}

class Program {
public:
    Program(const std::string& folder, const std::vector<std::string>& args) {
        parkPointer();
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(127);
            std::vector<char*> argv{const_cast<char*>(RACKBOOK_BINARY)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(RACKBOOK_BINARY, argv.data());
            _exit(127);
        }
    }
    ~Program() {
        parkPointer();
        if (pid > 0 && !finished) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The id of the first mapped window whose title matches `pattern`;
    // empty if none appears while the program runs.
    std::string window(const std::string& pattern) {
        for (int attempt = 0; attempt < 400 && alive(); ++attempt) {
            std::string id =
                run("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null");
            if (!id.empty())
                return id.substr(0, id.find('\n'));
            usleep(50 * 1000);
        }
        return "";
    }

    // The exit status, or -1 if the program did not end by itself.
    int exitStatus() {
        for (int attempt = 0; attempt < 400; ++attempt) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                finished = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(50 * 1000);
        }
        return -1;
    }

private:
    bool alive() { return waitpid(pid, nullptr, WNOHANG) == 0; }

    pid_t pid = -1;
    bool finished = false;
};

struct Geometry {
    int x, y, w, h;
};

Geometry geometry(const std::string& id) {
    const std::string info = run("xwininfo -id " + id);
    return Geometry{numberAfter(info, "Absolute upper-left X:"),
                    numberAfter(info, "Absolute upper-left Y:"), numberAfter(info, "Width:"),
                    numberAfter(info, "Height:")};
}

std::string title(const std::string& id) {
    const std::string prop = run("xprop -id " + id + " WM_NAME");
    std::smatch m;
    return std::regex_search(prop, m, std::regex("= \"(.*)\"")) ? m[1].str() : "";
}

void screenshot(const std::string& id, const std::string& name) {
    const std::string path = std::string(SCREENSHOT_DIR) + "/" + name;
    EXPECT_EQ(std::system(("import -window " + id + " " + path).c_str()), 0);
    EXPECT_EQ(access(path.c_str(), R_OK), 0) << path;
}

void clickAt(const std::string& id, int x, int y) {
    run("xdotool mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y) +
        " click 1");
}

TEST(Program, StartsShowsHelpAndExitsWithZero) {
    Program program(BUILD_DIR, {});
    const std::string main = program.window("^Rackbook, ver 1.12 /14.12.2008$");
    ASSERT_FALSE(main.empty());
    EXPECT_EQ(title(main), "Rackbook, ver 1.12 /14.12.2008");
    const Geometry g = geometry(main);
    EXPECT_EQ(g.w, 1139);
    EXPECT_EQ(g.h, 736);
    EXPECT_EQ(g.x, 1);
    // The program asks for (1, 1); without a window manager the toolkit
    // itself moves a bordered window down to leave room for a title bar.
    EXPECT_NE(run("xprop -id " + main + " WM_NORMAL_HINTS").find("location: 1, 1"),
              std::string::npos);
    EXPECT_NE(run("xprop -id " + main + " _NET_WM_ICON").find("Icon (16 x 16)"), std::string::npos);
    screenshot(main, "main-window.png");

    clickAt(main, 964 + 34, 708 + 10); // Help
    const std::string about = program.window("^About\\.\\.\\.$");
    ASSERT_FALSE(about.empty());
    const Geometry a = geometry(about);
    EXPECT_EQ(a.w, 660);
    EXPECT_EQ(a.h, 414);
    EXPECT_EQ(a.x, g.x + 1139 / 2 - 660 / 2);
    EXPECT_EQ(a.y, g.y + 736 / 2 - 414 / 2);
    screenshot(about, "about-window.png");
    clickAt(about, 272 + 57, 379 + 12); // Close

    clickAt(main, 1039 + 32, 707 + 10); // Exit
    EXPECT_EQ(program.exitStatus(), 0);
}

TEST(Program, CommandLineOptionsWinAndClosingEndsWithZero) {
    char folder[] = "/tmp/rackbook-program-XXXXXX"; // no images folder here
    ASSERT_NE(mkdtemp(folder), nullptr);
    {
        Program program(folder, {"-title", "Other title", "-geometry", "800x600+50+60"});
        const std::string main = program.window("^Other title$");
        ASSERT_FALSE(main.empty());
        const Geometry g = geometry(main);
        EXPECT_EQ((std::vector<int>{g.x, g.y, g.w, g.h}), (std::vector<int>{50, 60, 800, 600}));
        // No icon file in this folder: the toolkit's default, no icon of ours.
        EXPECT_EQ(run("xprop -id " + main + " _NET_WM_ICON").find("Icon ("), std::string::npos);
        EXPECT_EQ(std::system((std::string(WM_DELETE_BINARY) + " " + main).c_str()), 0);
        EXPECT_EQ(program.exitStatus(), 0);
    }
    rmdir(folder);
}

} // namespace
