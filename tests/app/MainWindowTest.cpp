// The main window's widget tree against its table: class, rectangle, label or
// initial text, parent, order, looks, triggers, callbacks and handles.
#include "GuiFixture.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include <cstring>
#include <typeindex>
#include <typeinfo>

namespace {

enum class Style {
    Group,
    Button,
    Input,
    Selector,
    Caption,
    FixedCaption,
    Table,
    DateLabel,
    Choice
};

struct Row {
    const char* parent; // label of the parent group, or "window"
    std::type_index type;
    int x, y, w, h;
    const char* text; // the label, or the value for an output or input field
    Style style;
    int color;           // expected color(), -1: the class's default
    Fl_Callback* action; // expected callback, nullptr: the toolkit's default
};

const std::type_index kGroup = typeid(Fl_Group);
const std::type_index kButton = typeid(Fl_Button);
const std::type_index kInput = typeid(Fl_Input);
const std::type_index kOutput = typeid(Fl_Output);
const std::type_index kChoice = typeid(Fl_Choice);
const std::type_index kBox = typeid(Fl_Box);

// The widget tree in creation order.
const std::vector<Row>& expectedTree() {
    static const std::vector<Row> rows = {
        {"window", kGroup, 5, 660, 1128, 77, "Tools", Style::Group, -1, nullptr},
        {"Tools", kButton, 75, 666, 68, 21, "New Item", Style::Button, 61, newItem_cb},
        {"Tools", kButton, 429, 666, 85, 21, "Update Item", Style::Button, 135, updateItem_cb},
        {"Tools", kButton, 760, 666, 85, 21, "Delete Item", Style::Button, 92, deleteItem_cb},
        {"Tools", kButton, 15, 699, 68, 21, "Open", Style::Button, 2, choose_database_cb},
        {"Tools", kInput, 135, 699, 365, 21, "Path:", Style::Input, -1, open_database_cb},
        {"Tools", kButton, 515, 699, 68, 21, "Re-open", Style::Button, -1, open_database_cb},
        {"Tools", kButton, 621, 699, 115, 21, "Set as Template", Style::Button, -1,
         setAsTemplate_cb},
        {"Tools", kButton, 746, 699, 100, 21, "Use Template", Style::Button, -1, useTemplate_cb},
        {"Tools", kButton, 1039, 707, 65, 21, "Exit", Style::Button, 1, exit_cb},
        {"window", kButton, 964, 708, 68, 21, "Help", Style::Button, -1, showHelp},
        {"window", kGroup, 5, 6, 237, 62, "Location", Style::Group, -1, nullptr},
        {"Location", kChoice, 12, 37, 70, 21, "", Style::Selector, -1, checkState_cb},
        {"Location", kChoice, 89, 37, 67, 21, "", Style::Selector, -1, checkState_cb},
        {"Location", kChoice, 163, 37, 67, 21, "", Style::Selector, -1, checkState_cb},
        {"Location", kOutput, 11, 19, 75, 19, "Rack", Style::Caption, -1, nullptr},
        {"Location", kOutput, 87, 20, 65, 17, "Box", Style::Caption, -1, nullptr},
        {"Location", kOutput, 163, 20, 69, 17, "Position", Style::Caption, -1, nullptr},
        {"window", kGroup, 248, 6, 443, 62, "Details", Style::Group, -1, nullptr},
        {"Details", kChoice, 253, 37, 80, 21, "", Style::Selector, -1, checkState_cb},
        {"Details", kChoice, 338, 37, 80, 21, "", Style::Selector, -1, checkState_cb},
        {"Details", kChoice, 509, 37, 80, 21, "", Style::Selector, -1, checkState_cb},
        {"Details", kChoice, 424, 37, 80, 21, "", Style::Selector, -1, checkState_cb},
        {"Details", kChoice, 595, 37, 80, 21, "", Style::Selector, -1, checkState_cb},
        {"Details", kOutput, 253, 21, 80, 17, "Strain", Style::Caption, -1, nullptr},
        {"Details", kOutput, 337, 21, 80, 17, "Plasmid", Style::Caption, -1, nullptr},
        {"Details", kOutput, 423, 21, 80, 17, "Subunit", Style::Caption, -1, nullptr},
        {"Details", kOutput, 508, 21, 80, 17, "Mutation", Style::Caption, -1, nullptr},
        {"Details", kOutput, 593, 21, 80, 17, "Antibiotic", Style::Caption, -1, nullptr},
        {"window", kGroup, 696, 6, 195, 62, "Dates", Style::Group, -1, nullptr},
        {"Dates", kOutput, 701, 19, 70, 17, "Start", Style::Caption, -1, nullptr},
        {"Dates", kOutput, 791, 19, 70, 17, "End", Style::Caption, -1, nullptr},
        {"Dates", kInput, 701, 37, 82, 21, "", Style::Input, -1, checkState_cb},
        {"Dates", kInput, 794, 37, 82, 21, "", Style::Input, -1, checkState_cb},
        {"window", kGroup, 5, 78, 1127, 577, "Database", Style::Group, -1, nullptr},
        {"Database", typeid(MyTable), 10, 94, 1109, 501, "mainTable", Style::Table, 49,
         onResultTableEvent},
        {"Database", typeid(SingleInput), 10, 598, 1109, 51, "editTable", Style::Table, 49,
         onEditTableEvent},
        {"window", kBox, 1000, 664, 85, 19, "Date format:", Style::DateLabel, -1, nullptr},
        {"window", kBox, 1025, 681, 85, 19, "YYYY-MM-DD", Style::DateLabel, -1, nullptr},
        {"window", kGroup, 896, 6, 236, 62, "Custom search", Style::Group, -1, nullptr},
        {"Custom search", kChoice, 904, 37, 95, 21, "", Style::Choice, -1, nullptr},
        {"Custom search", kOutput, 903, 19, 90, 17, "Field ID", Style::FixedCaption, -1, nullptr},
        {"Custom search", kOutput, 1009, 17, 90, 19, "Search for", Style::FixedCaption, -1,
         nullptr},
        {"Custom search", kInput, 1009, 37, 105, 21, "", Style::Input, -1, search_cb_cb},
    };
    return rows;
}

// The window's widgets in creation order, depth first; the tables are leaves.
void collect(Fl_Group* group, std::vector<Fl_Widget*>& out) {
    for (int i = 0; i < group->children(); ++i) {
        Fl_Widget* child = group->child(i);
        out.push_back(child);
        Fl_Group* inner = child->as_group();
        if (inner && !dynamic_cast<Fl_Table*>(child))
            collect(inner, out);
    }
}

std::string textOf(Fl_Widget* widget) {
    if (auto* input = dynamic_cast<Fl_Input_*>(widget); input && !widget->label())
        return input->value();
    return widget->label() ? widget->label() : "";
}

std::string parentName(Fl_Widget* widget) {
    if (widget->parent() == appState.mainWindow)
        return "window";
    return widget->parent() && widget->parent()->label() ? widget->parent()->label() : "?";
}

void checkStyle(Fl_Widget* w, Style style) {
    switch (style) {
    case Style::Group:
        EXPECT_EQ(w->box(), FL_SHADOW_BOX);
        EXPECT_EQ(w->labelfont(), FL_HELVETICA_BOLD_ITALIC);
        EXPECT_EQ(w->labelsize(), 11);
        EXPECT_EQ(w->align(), 21u);
        break;
    case Style::Button:
        EXPECT_EQ(w->box(), FL_PLASTIC_UP_BOX);
        EXPECT_FALSE(w->visible_focus());
        EXPECT_EQ(w->labelfont(), FL_HELVETICA);
        EXPECT_EQ(w->labelsize(), FL_NORMAL_SIZE);
        EXPECT_EQ(w->when(), FL_WHEN_RELEASE);
        break;
    case Style::Input:
        EXPECT_EQ(w->when(), FL_WHEN_RELEASE);
        EXPECT_EQ(w->box(), FL_DOWN_BOX);
        EXPECT_TRUE(w->visible_focus());
        break;
    case Style::Selector:
        EXPECT_EQ(static_cast<Fl_Choice*>(w)->down_box(), FL_PLASTIC_DOWN_BOX);
        EXPECT_FALSE(w->visible_focus());
        EXPECT_EQ(w->when(), FL_WHEN_RELEASE);
        EXPECT_EQ(static_cast<Fl_Choice*>(w)->size(), 0);
        break;
    case Style::Caption:
    case Style::FixedCaption:
        EXPECT_EQ(w->box(), FL_FLAT_BOX);
        EXPECT_EQ(w->color(), FL_BACKGROUND_COLOR);
        EXPECT_EQ(static_cast<Fl_Output*>(w)->textsize(), 12);
        EXPECT_EQ(w->label(), nullptr);
        if (style == Style::Caption) {
            EXPECT_EQ(w->align(), FL_ALIGN_INSIDE);
            EXPECT_FALSE(w->visible_focus());
        }
        break;
    case Style::Table:
        EXPECT_EQ(w->box(), FL_NO_BOX);
        EXPECT_EQ(w->selection_color(),
                  dynamic_cast<MyTable*>(w) ? FL_YELLOW : FL_BACKGROUND_COLOR);
        EXPECT_EQ(w->labeltype(), FL_NORMAL_LABEL);
        EXPECT_EQ(w->labelfont(), FL_HELVETICA);
        EXPECT_EQ(w->labelsize(), 12);
        EXPECT_EQ(w->labelcolor(), FL_FOREGROUND_COLOR);
        EXPECT_EQ(w->align(), FL_ALIGN_CENTER);
        EXPECT_EQ(w->user_data(), w);
        EXPECT_EQ(w->when(),
                  dynamic_cast<MyTable*>(w) ? FL_WHEN_RELEASE : FL_WHEN_ENTER_KEY_ALWAYS);
        break;
    case Style::DateLabel:
        EXPECT_EQ(w->labelfont(), FL_HELVETICA_BOLD);
        EXPECT_EQ(w->labelsize(), 13);
        EXPECT_EQ(w->align(), 20u);
        EXPECT_EQ(w->labelcolor(),
                  std::string(w->label()) == "YYYY-MM-DD" ? 1u : FL_FOREGROUND_COLOR);
        break;
    case Style::Choice:
        EXPECT_EQ(static_cast<Fl_Choice*>(w)->down_box(), FL_BORDER_BOX);
        EXPECT_EQ(w->align(), 5u);
        EXPECT_EQ(static_cast<Fl_Choice*>(w)->size(), 0);
        break;
    }
}

TEST_F(WindowsTest, MainWindowTreeMatchesItsTable) {
    Fl_Double_Window* window = appState.mainWindow;
    EXPECT_EQ(window->w(), 1139);
    EXPECT_EQ(window->h(), 736);
    std::vector<Fl_Widget*> widgets;
    collect(window, widgets);
    const std::vector<Row>& rows = expectedTree();
    ASSERT_EQ(widgets.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        Fl_Widget* w = widgets[i];
        SCOPED_TRACE("widget " + std::to_string(i + 1) + " " + row.text);
        EXPECT_EQ(std::type_index(typeid(*w)), row.type);
        EXPECT_EQ(w->x(), row.x);
        EXPECT_EQ(w->y(), row.y);
        EXPECT_EQ(w->w(), row.w);
        EXPECT_EQ(w->h(), row.h);
        EXPECT_EQ(textOf(w), row.text);
        EXPECT_EQ(parentName(w), row.parent);
        if (row.color >= 0) {
            EXPECT_EQ(w->color(), static_cast<Fl_Color>(row.color));
        } else if (row.type == kButton) {
            EXPECT_EQ(w->color(), FL_BACKGROUND_COLOR);
        }
        EXPECT_EQ(w->callback(), row.action ? row.action : Fl_Widget::default_callback);
        checkStyle(w, row.style);
    }
}

TEST_F(WindowsTest, HandlesPointAtTheirWidgets) {
    std::vector<Fl_Widget*> widgets;
    collect(appState.mainWindow, widgets);
    const ApplicationState& s = appState;
    // 1-based positions in the creation order.
    const std::vector<std::pair<Fl_Widget*, int>> handles = {
        {s.newItemButton, 2},
        {s.updateItemButton, 3},
        {s.deleteItemButton, 4},
        {s.openButton, 5},
        {s.pathInput, 6},
        {s.reopenButton, 7},
        {s.setTemplateButton, 8},
        {s.useTemplateButton, 9},
        {s.exitButton, 10},
        {s.helpButton, 11},
        {s.selectors[0], 13},
        {s.selectors[1], 14},
        {s.selectors[2], 15},
        {s.selectorCaptions[0], 16},
        {s.selectorCaptions[1], 17},
        {s.selectorCaptions[2], 18},
        {s.selectors[3], 20},
        {s.selectors[4], 21},
        {s.selectors[6], 22},
        {s.selectors[5], 23},
        {s.selectors[7], 24},
        {s.selectorCaptions[3], 25},
        {s.selectorCaptions[4], 26},
        {s.selectorCaptions[5], 27},
        {s.selectorCaptions[6], 28},
        {s.selectorCaptions[7], 29},
        {s.startDateCaption, 31},
        {s.endDateCaption, 32},
        {s.startDateInput, 33},
        {s.endDateInput, 34},
        {s.mainTable, 36},
        {s.editTable, 37},
        {s.searchFieldChoice, 41},
        {s.searchFieldCaption, 42},
        {s.searchTextCaption, 43},
        {s.searchInput, 44},
    };
    for (const auto& [handle, position] : handles) {
        SCOPED_TRACE("widget " + std::to_string(position));
        ASSERT_LT(position - 1, static_cast<int>(widgets.size()));
        EXPECT_EQ(handle, widgets[position - 1]);
    }
    EXPECT_EQ(s.mainWindow->resizable(), widgets[34]); // the Database group
}

TEST_F(WindowsTest, StartStateTitleAndPosition) {
    Fl_Double_Window* window = appState.mainWindow;
    EXPECT_STREQ(window->label(), "Rackbook, ver 1.12 /14.12.2008");
    EXPECT_EQ(window->x(), 1);
    EXPECT_EQ(window->y(), 1);
    EXPECT_EQ(appState.mainTable->rows(), 0);
    EXPECT_EQ(appState.mainTable->cols(), 0);
    EXPECT_EQ(appState.editTable->rows(), 1);
    EXPECT_EQ(appState.editTable->cols(), 0);
    for (Fl_Input* field :
         {appState.pathInput, appState.startDateInput, appState.endDateInput, appState.searchInput})
        EXPECT_STREQ(field->value(), "");
}

TEST_F(WindowsTest, CommandLineTitleAndGeometryWinButNotInTheHelpText) {
    char program[] = "rackbook";
    char titleOption[] = "-title";
    char title[] = "Other title";
    char geometryOption[] = "-geometry";
    char geometry[] = "+50+60";
    char* argv[] = {program, titleOption, title, geometryOption, geometry, nullptr};
    appState.mainWindow->show(5, argv);
    gui::settle(appState.mainWindow);
    EXPECT_STREQ(appState.mainWindow->label(), "Other title");
    EXPECT_EQ(appState.mainWindow->x(), 50);
    EXPECT_EQ(appState.mainWindow->y(), 60);
    EXPECT_STREQ(appState.helpText3->text(1), "@bRackbook, ver 1.12 /14.12.2008");
}

TEST_F(WindowsTest, GrowingTheWindowGrowsOnlyTheDatabaseGroup) {
    showMain();
    Fl_Double_Window* window = appState.mainWindow;
    Fl_Widget* location = appState.selectors[0]->parent();
    Fl_Widget* tools = appState.newItemButton->parent();
    Fl_Widget* database = appState.mainTable->parent();
    window->resize(window->x(), window->y(), 1339, 936);
    EXPECT_EQ(database->w(), 1127 + 200);
    EXPECT_EQ(database->h(), 577 + 200);
    EXPECT_GT(appState.mainTable->h(), 501 + 100);
    EXPECT_GT(appState.mainTable->w(), 1109 + 150);
    EXPECT_GT(appState.editTable->w(), 1109 + 150);
    EXPECT_EQ(location->h(), 62);
    EXPECT_EQ(tools->h(), 77);
    EXPECT_EQ(tools->y(), 660 + 200);
}

// Pressing the New Item and template buttons runs their operations: the
// buttons are driven with real clicks on the shown window.
TEST_F(WindowsTest, EditRowButtonsRunTheirOperations) {
    showMain();
    appState.columnNames = {"Index_ID", "Rack", "Box"};
    appState.mainTable->addRow({"K1", "R1", "B1"});
    appState.editTable->cols(3);
    for (int c = 0; c < 3; ++c)
        appState.editTable->setCell(0, c, "old");
    Fl_Window* window = appState.mainWindow;
    auto centre = [](Fl_Widget* w) { return gui::Point{w->x() + w->w() / 2, w->y() + w->h() / 2}; };

    gui::click(window, centre(appState.setTemplateButton));
    EXPECT_EQ(appState.templateRow, (std::vector<std::string>{"", "old", "old"}));

    gui::click(window, centre(appState.newItemButton));
    EXPECT_EQ(appState.editTable->getCell(0, 1), "");

    testing::internal::CaptureStdout();
    gui::click(window, centre(appState.useTemplateButton));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nold\nold\n");
    EXPECT_EQ(appState.editTable->getCell(0, 2), "old");
}

} // namespace
