// The dialog seam, the error alert and the two alert pictures.
#include "GuiFixture.h"

#include "app/Dialogs.h"
#include "db/ShowError.h"
#include "edit/StopIcon.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Pixmap.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <map>

namespace {

class DialogTest : public ::testing::Test {
protected:
    void TearDown() override { setDialogSeam(DialogSeam{}); }
};

void expectIconBox(Fl_Pixmap* icon) {
    Fl_Widget* box = fl_message_icon();
    ASSERT_NE(box->label(), nullptr);
    EXPECT_STREQ(box->label(), "");
    EXPECT_EQ(box->image(), icon);
    EXPECT_EQ(box->align(), 21u);
    EXPECT_EQ(box->box(), FL_NO_BOX);
    EXPECT_EQ(box->color(), FL_BACKGROUND_COLOR);
}

TEST_F(DialogTest, ShowErrorSetsTheIconBoxAndShowsTheTextLiterally) {
    std::vector<std::string> shown;
    setDialogSeam(DialogSeam{[&](const std::string& text) { shown.push_back(text); }, nullptr});
    useStopIconForDialogs();
    expectIconBox(stopIcon());
    const std::vector<std::string> texts = {
        "SQLDriverConnect(connection to the database) \nError, in the checkState",
        "100% %s %d %n",
        "",
    };
    for (const std::string& text : texts) {
        showError(text);
        expectIconBox(errorIcon());
    }
    EXPECT_EQ(shown, texts);
    EXPECT_EQ(errorIcon(), errorIcon()); // made once
}

TEST_F(DialogTest, ChoiceSeamReceivesQuestionAndButtons) {
    std::string asked;
    std::vector<std::string> buttons;
    setDialogSeam(DialogSeam{
        nullptr, [&](const std::string& text, const char* b0, const char* b1, const char* b2) {
            asked = text;
            for (const char* b : {b0, b1, b2})
                buttons.push_back(b ? b : "<none>");
            return 2;
        }});
    EXPECT_EQ(askChoiceDialog("Delete 5%?", "Cancel", nullptr, "OK"), 2);
    EXPECT_EQ(asked, "Delete 5%?");
    EXPECT_EQ(buttons, (std::vector<std::string>{"Cancel", "<none>", "OK"}));
}

// Without a seam the toolkit's own dialog comes up; a timer standing in for
// the user reads its text and closes it.
struct DialogWatch {
    std::string text;
    bool closed = false;
};

void readAndClose(void* data) {
    auto* watch = static_cast<DialogWatch*>(data);
    Fl_Window* dialog = fl_message_icon()->window();
    if (!dialog || !dialog->shown()) {
        Fl::repeat_timeout(0.05, readAndClose, data);
        return;
    }
    for (int i = 0; i < dialog->children(); ++i) {
        Fl_Widget* child = dialog->child(i);
        if (child != fl_message_icon() && !dynamic_cast<Fl_Button*>(child) && child->label() &&
            child->visible())
            watch->text = child->label();
    }
    dialog->hide();
    watch->closed = true;
}

TEST_F(DialogTest, RealDialogShowsPercentSignsUnchanged) {
    DialogWatch watch;
    Fl::add_timeout(0.05, readAndClose, &watch);
    showError("50% of %s done");
    EXPECT_TRUE(watch.closed);
    EXPECT_EQ(watch.text, "50% of %s done");
}

// The XPM sources: header, compact colour table, and the pictures' layout.
struct Xpm {
    std::vector<std::string> rows;
    std::map<char, int> colours; // character -> 0xRRGGBB, -1 for transparent
};

Xpm parse(Fl_Pixmap* pixmap) {
    const char* const* data = pixmap->data();
    Xpm xpm;
    EXPECT_STREQ(data[0], "54 53 -16 1");
    const auto* table = reinterpret_cast<const unsigned char*>(data[1]);
    for (int i = 0; i < 16; ++i) {
        const unsigned char* e = table + 4 * i;
        xpm.colours[static_cast<char>(e[0])] =
            (i == 0 && e[0] == ' ') ? -1 : (e[1] << 16 | e[2] << 8 | e[3]);
    }
    for (int r = 0; r < 53; ++r)
        xpm.rows.push_back(data[2 + r]);
    return xpm;
}

TEST(AlertPictures, ErrorIconColoursAndShape) {
    Fl_Pixmap* icon = errorIcon();
    EXPECT_EQ(icon->w(), 54);
    EXPECT_EQ(icon->h(), 53);
    const Xpm xpm = parse(icon);
    const std::map<char, int> expected = {
        {' ', -1},       {'!', 0x989898}, {'"', 0xc83030}, {'#', 0xf8f8f8},
        {'$', 0x808080}, {'%', 0xf0f0f0}, {'&', 0xc86030}, {'\'', 0xe0e0e0},
        {'(', 0xc8c8c8}, {')', 0x606060}, {'*', 0xf89898}, {'+', 0xf86060},
        {',', 0xf8c8c8}, {'-', 0xc86060}, {'.', 0x603030}, {'/', 0x303030},
    };
    EXPECT_EQ(xpm.colours, expected);
    for (int r = 0; r < 53; ++r) {
        ASSERT_EQ(xpm.rows[r].size(), 54u);
        EXPECT_EQ(xpm.rows[r][0], ' ');  // left margin
        EXPECT_EQ(xpm.rows[r][53], ' '); // right margin
    }
    EXPECT_EQ(xpm.rows[52], std::string(54, ' ')); // bottom margin
    for (int r = 23; r <= 30; ++r)
        EXPECT_EQ(xpm.rows[r].substr(9, 38), std::string(38, '#')) << "row " << r;
    EXPECT_EQ(xpm.rows[31].substr(9, 38), std::string(38, '-'));
    EXPECT_EQ(xpm.rows[15][26], '"'); // red disc above the bar
    EXPECT_EQ(xpm.rows[0][1], ' ');   // outside the disc at a corner
}

TEST(AlertPictures, StopIconColoursAndShape) {
    Fl_Pixmap* icon = stopIcon();
    EXPECT_EQ(icon->w(), 54);
    EXPECT_EQ(icon->h(), 53);
    const Xpm xpm = parse(icon);
    const std::map<char, int> expected = {
        {' ', -1},       {'!', 0xc8c8c8}, {'"', 0x989898}, {'#', 0x606030},
        {'$', 0xf8f8f8}, {'%', 0xf86060}, {'&', 0xf89860}, {'\'', 0xc86030},
        {'(', 0xc83030}, {')', 0xf8c898}, {'*', 0xf89898}, {'+', 0x606060},
        {',', 0xc86060}, {'-', 0xf8c8c8}, {'.', 0xb8b8b8}, {'/', 0x583030},
    };
    EXPECT_EQ(xpm.colours, expected);
    int white = 0;
    for (const std::string& row : xpm.rows)
        white += static_cast<int>(std::count(row.begin(), row.end(), '$'));
    EXPECT_GT(white, 150); // the word STOP
    EXPECT_EQ(xpm.rows[0][0], ' ');
    EXPECT_EQ(xpm.rows[52][53], ' ');
    EXPECT_EQ(xpm.rows[8][26], '('); // the red field above the word
}

} // namespace
