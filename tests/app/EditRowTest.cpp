// The edit-row operations on the two tables, with their standard output.
#include "GuiFixture.h"

#include "edit/EditRow.h"

#include <FL/Fl_Input.H>

namespace {

class EditRowTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        appState.columnNames = {"Index_ID", "Rack", "Box", "Dates_ID"};
        table()->addRow({"R1_B1_P1", "R1", "B1", "2008-12-14"});
        table()->cols(4);
        for (int c = 0; c < 4; ++c)
            table()->col_width(c, 40 + c);
    }
    MyTable* table() { return appState.mainTable; }
    SingleInput* edit() { return appState.editTable; }
    std::vector<std::string> editRow() {
        std::vector<std::string> row;
        for (int c = 0; c < edit()->cols(); ++c)
            row.push_back(edit()->getCell(0, c));
        return row;
    }
    std::vector<int> editWidths() {
        std::vector<int> widths;
        for (int c = 0; c < edit()->cols(); ++c)
            widths.push_back(edit()->col_width(c));
        return widths;
    }
};

TEST_F(EditRowTest, LoadEditRowCopiesTheRecordAndTheWidths) {
    loadEditRow({"R2_B2_P2", "R2", "B2", "2001-01-01"});
    EXPECT_EQ(editRow(), (std::vector<std::string>{"R2_B2_P2", "R2", "B2", "2001-01-01"}));
    EXPECT_EQ(editWidths(), (std::vector<int>{40, 41, 42, 43}));
    loadEditRow({"R2_B2_P2", "R2", "B2", "2001-01-01"}); // the same record twice: same row
    EXPECT_EQ(editRow(), (std::vector<std::string>{"R2_B2_P2", "R2", "B2", "2001-01-01"}));
}

TEST_F(EditRowTest, NewItemEmptiesTheRow) {
    loadEditRow({"a", "b", "c", "d"});
    newItem();
    EXPECT_EQ(editRow(), (std::vector<std::string>(4, "")));
    EXPECT_EQ(editWidths(), (std::vector<int>{40, 41, 42, 43}));
    // With nothing listed the edit row still gets one column per column name.
    table()->clearRows();
    appState.columnNames = {"Index_ID", "Rack"};
    newItem();
    EXPECT_EQ(editRow(), (std::vector<std::string>(2, "")));
}

TEST_F(EditRowTest, TemplateKeepsAllButTheKey) {
    loadEditRow({"R1_B1_P1", "R/1", "B'1", "bad date"});
    setAsTemplate();
    EXPECT_EQ(appState.templateRow, (std::vector<std::string>{"", "R/1", "B'1", "bad date"}));
    EXPECT_EQ(editRow()[0], "R1_B1_P1"); // the edit row is not changed

    newItem();
    edit()->col_width_all(77);
    testing::internal::CaptureStdout();
    useTemplate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nR/1\nB'1\nbad date\n");
    EXPECT_EQ(editRow(), (std::vector<std::string>{"", "R/1", "B'1", "bad date"}));
    EXPECT_EQ(editWidths(), (std::vector<int>(4, 77))); // widths left alone
}

TEST_F(EditRowTest, UseTemplateBeforeAnyTemplateGivesEmptyTexts) {
    loadEditRow({"a", "b", "c", "d"});
    testing::internal::CaptureStdout();
    useTemplate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n\n\n\n");
    EXPECT_EQ(editRow(), (std::vector<std::string>(4, "")));
}

TEST_F(EditRowTest, ShortTemplateFillsTheRestWithEmptyTexts) {
    table()->clearRows();
    table()->addRow({"k", "r"});
    loadEditRow({"k", "r"});
    setAsTemplate();
    EXPECT_EQ(appState.templateRow, (std::vector<std::string>{"", "r"}));
    table()->clearRows();
    table()->addRow({"k", "r", "b", "d"});
    testing::internal::CaptureStdout();
    useTemplate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nr\n\n\n");
    EXPECT_EQ(editRow(), (std::vector<std::string>{"", "r", "", ""}));
}

TEST_F(EditRowTest, AnOpenEditIsStoredOverTheLoadedTexts) {
    loadEditRow({"a", "b", "c", "d"});
    showMain();
    gui::doubleClick(appState.mainWindow, gui::cellCenter(edit(), 0, 2));
    ASSERT_TRUE(edit()->cellInput->visible());
    gui::typeText(appState.mainWindow, "!");
    // setAsTemplate takes only what the cells hold.
    setAsTemplate();
    EXPECT_EQ(appState.templateRow[2], "c");
    loadEditRow({"w", "x", "y", "z"});
    EXPECT_FALSE(edit()->cellInput->visible());
    EXPECT_EQ(editRow(), (std::vector<std::string>{"w", "x", "c!", "z"}));
}

} // namespace
