// The edit table: its cell store and every way its floating editor opens
// and closes, driven with real toolkit events on the shown main window.
#include "GuiFixture.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>

namespace {

class EditTableTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        appState.columnNames = {"Index_ID", "Rack", "Box", "Position"};
        appState.columnCount = 4;
        setup_edit_table(edit());
        for (int c = 0; c < 4; ++c)
            edit()->setCell(0, c, "t" + std::to_string(c));
        showMain();
    }

    SingleInput* edit() { return appState.editTable; }
    Fl_Input* input() { return edit()->cellInput; }
    Fl_Window* window() { return appState.mainWindow; }
    bool open() { return input()->visible() != 0; }

    void openOn(int col) {
        gui::doubleClick(window(), gui::cellCenter(edit(), 0, col));
        ASSERT_TRUE(open());
        ASSERT_EQ(edit()->editingColumn, col);
    }
    // A single click selects the cell.  The keyboard focus reaches the table
    // through the toolkit's keyboard navigation; the tests hand it over
    // directly.
    void selectCell(int col) {
        gui::click(window(), gui::cellCenter(edit(), 0, col));
        ASSERT_FALSE(open());
        edit()->take_focus();
        ASSERT_EQ(Fl::focus(), edit());
    }
};

TEST_F(WindowsTest, EditTableConstructionAndStore) {
    SingleInput* edit = appState.editTable;
    EXPECT_EQ(edit->getCell(0, 0), "  ");
    EXPECT_EQ(edit->getCell(0, 199), "  ");
    EXPECT_FALSE(edit->cellInput->visible());
    EXPECT_EQ(edit->cellInput->maximum_size(), 255);
    EXPECT_EQ(edit->cellInput->when(), FL_WHEN_ENTER_KEY_ALWAYS);
    EXPECT_EQ(edit->cellInput->parent()->parent(), edit); // inside the table's scroll area
    EXPECT_EQ(edit->row_header(), 0);
    EXPECT_EQ(edit->row_height(0), 19);
    EXPECT_EQ(edit->col_header_height(), 15);
    EXPECT_TRUE(edit->col_resize());

    // Outside the 1 x 200 grid nothing is stored and nothing is read.
    const std::vector<std::pair<int, int>> outside = {
        {0, 200}, {0, 5000}, {1, 0}, {-1, 3}, {0, -1}};
    for (const auto& [row, col] : outside) {
        edit->setCell(row, col, "lost");
        EXPECT_EQ(edit->getCell(row, col), "") << row << "," << col;
    }
    edit->setCell(0, 199, "last");
    EXPECT_EQ(edit->getCell(0, 199), "last");
    edit->cols(250);
    EXPECT_EQ(edit->cols(), 200);
}

TEST_F(WindowsTest, CopyColumnWidthsFromANarrowerTable) {
    MyTable* table = appState.mainTable;
    SingleInput* edit = appState.editTable;
    table->cols(2);
    table->col_width(0, 33);
    table->col_width(1, 44);
    edit->cols(4);
    edit->col_width_all(70);
    edit->copyColumnWidths(*table);
    EXPECT_EQ(edit->col_width(0), 33);
    EXPECT_EQ(edit->col_width(1), 44);
    EXPECT_EQ(edit->col_width(2), 0);
    EXPECT_EQ(edit->col_width(3), 0);
}

TEST_F(EditTableTest, DoubleClickOpensAndEnterStores) {
    openOn(2);
    EXPECT_STREQ(input()->value(), "t2");
    EXPECT_EQ(Fl::focus(), input());
    EXPECT_EQ(Fl::event_clicks(), 0); // the double click is used up
    gui::typeText(window(), "ab");
    EXPECT_EQ(edit()->getCell(0, 2), "t2"); // nothing stored while typing
    gui::key(window(), FL_Enter, "\r");
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 2), "t2ab");
    EXPECT_NE(input()->color(), FL_YELLOW); // Enter keeps the default colour
}

TEST_F(EditTableTest, DoubleClickOnTheKeyColumnOpensNothing) {
    gui::doubleClick(window(), gui::cellCenter(edit(), 0, 0));
    EXPECT_FALSE(open());
    EXPECT_EQ(Fl::event_clicks(), 0);
}

TEST_F(EditTableTest, SingleClickElsewhereStoresClickInsideKeepsOpen) {
    openOn(1);
    gui::typeText(window(), "x");
    const gui::Point inside{input()->x() + 5, input()->y() + input()->h() / 2};
    gui::click(window(), inside);
    EXPECT_TRUE(open()); // a click in the editor only moves its cursor
    gui::click(window(), gui::cellCenter(edit(), 0, 3));
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 1), "t1x");
    EXPECT_NE(input()->color(), FL_YELLOW);
}

TEST_F(EditTableTest, HeaderClickStores) {
    openOn(3);
    gui::typeText(window(), "h");
    gui::click(window(), gui::headerCenter(edit(), 1));
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 3), "t3h");
}

// Below the row there is no cell: while the editor holds the focus such a
// click is none of the commits, and the editor keeps its text until a cell or
// header is clicked.
TEST_F(EditTableTest, ClickBesideTheCellsKeepsTheEditOpen) {
    openOn(2);
    gui::typeText(window(), "g");
    gui::click(window(), gui::Point{edit()->x() + 40, edit()->y() + edit()->h() - 3});
    EXPECT_TRUE(open());
    EXPECT_EQ(edit()->getCell(0, 2), "t2");
    gui::click(window(), gui::cellCenter(edit(), 0, 1));
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 2), "t2g");

    // Once the table itself holds the focus (as the toolkit's keyboard
    // navigation leaves it), the same click stores the edit.
    openOn(3);
    gui::typeText(window(), "k");
    Fl::focus(edit());
    gui::click(window(), gui::Point{edit()->x() + 40, edit()->y() + edit()->h() - 3});
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 3), "t3k");
}

TEST_F(EditTableTest, KeysOnASelectedCellOpenTheEditor) {
    struct KeyCase {
        int keysym;
        const char* text;
        int col;
        bool opens;
        const char* value; // the editor's text after the key
    };
    const std::vector<KeyCase> cases = {
        {'x', "x", 3, true, "t3x"},      // a text key is typed after the text
        {FL_Enter, "\r", 2, true, "t2"}, // Enter opens with the text unchanged
        {'y', "y", 0, false, ""},        // never on the key column
        {FL_Home, "", 2, false, ""},     // keys without text open nothing
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.text);
        selectCell(c.col);
        gui::key(window(), c.keysym, c.text);
        EXPECT_EQ(open(), c.opens);
        if (c.opens) {
            EXPECT_EQ(edit()->editingColumn, c.col);
            EXPECT_STREQ(input()->value(), c.value);
            gui::click(window(), gui::headerCenter(edit(), 0));
        }
    }
}

TEST_F(EditTableTest, KeyWithNoCellSelectedReachesNoCell) {
    selectCell(2);
    // A click below the cells clears the selection but keeps the focus.
    gui::click(window(), gui::Point{edit()->x() + 40, edit()->y() + edit()->h() - 3});
    int top = 0, left = 0, bottom = 0, right = 0;
    edit()->get_selection(top, left, bottom, right);
    ASSERT_EQ(top, -1);
    gui::key(window(), 'z', "z");
    EXPECT_FALSE(open());
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(edit()->getCell(0, c), "t" + std::to_string(c));
}

TEST_F(EditTableTest, TabMovesTheEditorOneColumnRight) {
    openOn(2);
    gui::typeText(window(), "a");
    gui::key(window(), FL_Tab, "\t");
    EXPECT_EQ(edit()->getCell(0, 2), "t2a");
    ASSERT_TRUE(open());
    EXPECT_EQ(edit()->editingColumn, 3);
    EXPECT_STREQ(input()->value(), "t3");
    EXPECT_EQ(input()->color(), FL_YELLOW); // ended by opening another cell

    // Reached by Tab, the input selects its whole text, so typing replaces it.
    // Tab on the last column stores and opens nothing.
    gui::typeText(window(), "b");
    gui::key(window(), FL_Tab, "\t");
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 3), "b");
    EXPECT_EQ(edit()->getCell(0, 4), "  ");
}

TEST_F(EditTableTest, CommitEditStoresAndTurnsYellowForGood) {
    edit()->commitEdit(); // closed: nothing happens
    EXPECT_NE(input()->color(), FL_YELLOW);
    EXPECT_EQ(edit()->getCell(0, 1), "t1");
    openOn(1);
    gui::typeText(window(), "c");
    edit()->commitEdit();
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 1), "t1c");
    EXPECT_EQ(input()->color(), FL_YELLOW);
    openOn(2);
    gui::key(window(), FL_Enter, "\r");
    EXPECT_EQ(input()->color(), FL_YELLOW);
}

TEST_F(EditTableTest, SettingTheCountsStoresAnOpenEditFirst) {
    openOn(1);
    gui::typeText(window(), "d");
    edit()->setCell(0, 1, "overwritten");
    edit()->cols(4);
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 1), "t1d");

    openOn(2);
    gui::typeText(window(), "e");
    edit()->rows(1);
    EXPECT_FALSE(open());
    EXPECT_EQ(edit()->getCell(0, 2), "t2e");
}

TEST_F(EditTableTest, ClickingAButtonLeavesTheEditOpen) {
    openOn(1);
    gui::typeText(window(), "f");
    Fl_Widget* button = appState.helpButton;
    appState.helpButton->callback(static_cast<Fl_Callback*>(nullptr)); // no about window now
    gui::click(window(), gui::Point{button->x() + 5, button->y() + 5});
    EXPECT_TRUE(open());
    EXPECT_EQ(edit()->getCell(0, 1), "t1");
}

TEST_F(EditTableTest, TheEditorFollowsAColumnResize) {
    openOn(2);
    const int before = input()->x();
    // Drag the border between the headers of columns 0 and 1 to the right.
    const gui::Point header = gui::headerCenter(edit(), 0);
    const gui::Point border{edit()->x() + edit()->col_width(0) - 1, header.y};
    gui::press(window(), border);
    gui::drag(window(), gui::Point{border.x + 30, border.y});
    gui::release(window(), gui::Point{border.x + 30, border.y});
    Fl::flush();
    EXPECT_EQ(edit()->col_width(0), 70 + 30);
    EXPECT_TRUE(open());
    EXPECT_EQ(input()->x(), before + 30);
}

TEST_F(EditTableTest, TheEditorRefusesMoreThan255Characters) {
    openOn(1);
    input()->value("");
    gui::typeText(window(), std::string(300, 'm'));
    gui::key(window(), FL_Enter, "\r");
    EXPECT_EQ(edit()->getCell(0, 1), std::string(255, 'm'));
}

} // namespace
