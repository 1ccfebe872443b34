// The about window: its children, help lines, centring and the help
// browser's selection.
#include "GuiFixture.h"

#include "app/AboutImage.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_RGB_Image.H>

namespace {

TEST_F(WindowsTest, AboutWindowChildren) {
    Fl_Double_Window* about = appState.aboutWindow;
    EXPECT_EQ(about->w(), 660);
    EXPECT_EQ(about->h(), 414);
    EXPECT_STREQ(about->label(), "About...");
    EXPECT_EQ(about->box(), FL_ENGRAVED_BOX);
    EXPECT_TRUE(about->modal());
    EXPECT_FALSE(about->shown());
    ASSERT_EQ(about->children(), 3);

    Fl_Widget* close = about->child(0);
    EXPECT_EQ(typeid(*close), typeid(Fl_Button));
    EXPECT_EQ(close, appState.aboutCloseButton);
    EXPECT_STREQ(close->label(), "Close");
    EXPECT_EQ(close->box(), FL_PLASTIC_UP_BOX);
    EXPECT_EQ(close->color(), FL_RED);
    EXPECT_FALSE(close->visible_focus());
    EXPECT_EQ(close->callback(), closeAbout);
    EXPECT_EQ((std::vector<int>{close->x(), close->y(), close->w(), close->h()}),
              (std::vector<int>{272, 379, 115, 25}));

    auto* help = dynamic_cast<Fl_Browser*>(about->child(1));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help, appState.helpText3);
    EXPECT_STREQ(help->label(), "helpText3");
    EXPECT_EQ((std::vector<int>{help->x(), help->y(), help->w(), help->h()}),
              (std::vector<int>{145, 13, 503, 356}));
    EXPECT_EQ(help->type(), FL_HOLD_BROWSER);
    EXPECT_EQ(help->box(), FL_NO_BOX);
    EXPECT_EQ(help->color(), FL_BACKGROUND_COLOR);
    EXPECT_EQ(help->selection_color(), FL_BACKGROUND_COLOR);
    EXPECT_EQ(help->labelsize(), 14);
    EXPECT_EQ(help->align(), FL_ALIGN_CENTER);
    EXPECT_EQ(help->when(), FL_WHEN_CHANGED);
    EXPECT_EQ(help->callback(), clearHelpSelection);

    Fl_Widget* picture = about->child(2);
    EXPECT_EQ(typeid(*picture), typeid(Fl_Box));
    EXPECT_EQ((std::vector<int>{picture->x(), picture->y(), picture->w(), picture->h()}),
              (std::vector<int>{60, 79, 30, 16}));
    EXPECT_EQ(picture->image(), &aboutImage);
}

TEST(AboutImage, IsA120By133PictureWithTransparentBackground) {
    EXPECT_EQ(aboutImage.w(), 120);
    EXPECT_EQ(aboutImage.h(), 133);
    EXPECT_EQ(aboutImage.d(), 4);
    EXPECT_EQ(aboutImage.ld(), 0);
    const auto* pixels = reinterpret_cast<const unsigned char*>(aboutImage.data()[0]);
    auto alpha = [&](int x, int y) { return pixels[(y * 120 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);     // background
    EXPECT_EQ(alpha(119, 132), 0); // background
    EXPECT_EQ(alpha(40, 90), 255); // the cabinet
    EXPECT_EQ(alpha(86, 40), 255); // the clock face
}

TEST_F(WindowsTest, HelpLinesStartWithTheTitle) {
    Fl_Browser* help = appState.helpText3;
    ASSERT_EQ(help->size(), 29);
    EXPECT_STREQ(help->text(1), "@bRackbook, ver 1.12 /14.12.2008");
    EXPECT_EQ(std::string(help->text(2)).rfind("@b", 0), 0u);
    EXPECT_EQ(std::string(help->text(3)).rfind("@i@C4", 0), 0u);
    const std::vector<std::pair<int, const char*>> fixed = {
        {4, " "},
        {5, "@b@C1Important:"},
        {6, "- the database Table should be named as 'StockTable'"},
        {10, "  preceding Dates_ID"},
        {13, "- when you open a database, it is back-uped to /backup folder"},
        {14, " "},
        {15, "@bHow to create a new database:"},
        {20, "  as Index_ID; set Data Type as Text; increase Field Size to 255;"},
        {24, "  ex. Rack; Box; Position"},
        {29, "- Add a single dummy item into the database"},
    };
    for (const auto& [line, text] : fixed)
        EXPECT_STREQ(help->text(line), text) << "line " << line;
    for (int line = 1; line <= 29; ++line)
        EXPECT_EQ(help->data(line), nullptr);
}

struct Placement {
    int x, y, w, h;
    int aboutX, aboutY;
};

TEST_F(WindowsTest, HelpCentresTheAboutWindowOverTheMainWindow) {
    const std::vector<Placement> cases = {
        {1, 1, 1139, 736, 240, 162},   // the start-up position and size
        {100, 50, 800, 600, 170, 143}, // moved and shrunk
        {7, 9, 1141, 739, 247, 171},   // odd sizes: each halving truncates
    };
    for (const Placement& c : cases) {
        appState.mainWindow->resize(c.x, c.y, c.w, c.h);
        showHelp();
        EXPECT_EQ(appState.aboutWindow->x(), c.aboutX) << c.x << "," << c.y;
        EXPECT_EQ(appState.aboutWindow->y(), c.aboutY) << c.x << "," << c.y;
        EXPECT_TRUE(appState.aboutWindow->shown());
        closeAbout();
        EXPECT_FALSE(appState.aboutWindow->visible());
    }
}

TEST_F(WindowsTest, ClickingAHelpLineLeavesNoneSelected) {
    showHelp();
    Fl_Double_Window* about = appState.aboutWindow;
    gui::settle(about); // the browser finds its lines only once it has drawn them
    Fl_Browser* help = appState.helpText3;
    auto lineCentre = [help](int line) {
        // Lines follow the browser's text size; aim at the middle of the line.
        return gui::Point{help->x() + 60, help->y() + 4 + (line - 1) * (help->textsize() + 4) +
                                              help->textsize() / 2};
    };
    // Without its callback the hold browser keeps the clicked line selected:
    // the clicks below do land on lines.
    help->callback(static_cast<Fl_Callback*>(nullptr));
    gui::click(about, lineCentre(2));
    EXPECT_EQ(help->value(), 2);
    help->deselect();
    help->callback(clearHelpSelection);
    for (int line : {1, 5, 8}) {
        gui::click(about, lineCentre(line));
        EXPECT_EQ(help->value(), 0) << "line " << line;
        for (int i = 1; i <= help->size(); ++i)
            EXPECT_FALSE(help->selected(i));
    }
    closeAbout();
}

} // namespace
