// The result table: row store, sorting by header clicks, column widths and
// the hand-over of a clicked record to the edit row.
#include "GuiFixture.h"

#include <FL/fl_draw.H>

namespace {

std::vector<std::string> column(const MyTable* table, int col) {
    std::vector<std::string> out;
    for (const ResultRow& row : table->rowData)
        out.push_back(col < static_cast<int>(row.texts.size()) ? row.texts[col] : "<none>");
    return out;
}

// Fills the result table as a listing does: rows, then the shown counts.
void list(MyTable* table, const std::vector<std::vector<std::string>>& rows) {
    table->clearRows();
    table->clear();
    for (const auto& row : rows)
        table->addRow(row);
    table->rows(table->dataRowCount());
    table->cols(table->dataColumnCount());
    table->row_height_all(19);
}

TEST_F(WindowsTest, RowStoreCounts) {
    MyTable* table = appState.mainTable;
    appState.columnNames = {"Index_ID", "Rack", "Box", "Position"};
    EXPECT_EQ(table->dataRowCount(), 0);
    EXPECT_EQ(table->dataColumnCount(), 4); // empty store: the column names
    appState.columnNames.clear();
    EXPECT_EQ(table->dataColumnCount(), 0);
    table->addRow({"a", "b"});
    table->addRow({"c", "d", "e"});
    EXPECT_EQ(table->dataRowCount(), 2);
    EXPECT_EQ(table->dataColumnCount(), 2); // the first row decides
    EXPECT_EQ(table->cellText(1, 2), "e");
    EXPECT_EQ(table->cellText(0, 2), "");
    EXPECT_EQ(table->cellText(5, 0), "");
    EXPECT_EQ(table->cellText(-1, -1), "");
    EXPECT_EQ(table->rows(), 0); // adding rows leaves the shown counts alone
    table->rows(2);
    table->clearRows();
    EXPECT_EQ(table->dataRowCount(), 0);
    EXPECT_EQ(table->rows(), 2);
}

// A listing reuses the storage of the rows a previous listing left: the
// reused rows must hold exactly the new texts, whatever the old ones were.
TEST_F(WindowsTest, AppendedRowsHoldOnlyTheirNewTexts) {
    MyTable* table = appState.mainTable;
    using Listing = std::vector<std::vector<std::string>>;
    const std::vector<Listing> listings = {
        Listing{{"1_1_A1", "a long text that does not fit in a short string", "x"},
                {"1_1_A2", "b", ""},
                {"1_1_A3", "c", "z"}},
        Listing{{"k", "short"}}, // fewer rows and columns
        Listing{
            {"p", "q", "r", "s"}, {"t", "", "", "u"}, {"v", "w", "x", "y"}, {"1", "2", "3", "4"}},
        Listing{}, // nothing found
    };
    for (const auto& rows : listings) {
        table->clearRows();
        for (const auto& row : rows) {
            std::vector<std::string>& texts = table->appendRow();
            texts.resize(row.size());
            for (size_t c = 0; c < row.size(); ++c)
                texts[c].assign(row[c]);
        }
        ASSERT_EQ(table->dataRowCount(), static_cast<int>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(table->rowData[r].texts, rows[r]);
    }
}

struct SortCase {
    std::vector<std::string> keys;
    int descending;
    std::vector<std::string> expected;
};

TEST_F(WindowsTest, SortIsBytewise) {
    const std::vector<SortCase> cases = {
        {{"9", "10", "", "2"}, 0, {"", "10", "2", "9"}},
        {{"9", "10", "", "2"}, 1, {"9", "2", "10", ""}},
        {{"b", "B", "a", "A"}, 0, {"A", "B", "a", "b"}},
        {{"2008-12-14", "1999-01-02", "2008-02-01"}, 0, {"1999-01-02", "2008-02-01", "2008-12-14"}},
        {{"\xc3\xa9", "z", "\x7f"}, 0, {"z", "\x7f", "\xc3\xa9"}}, // bytes above 127 sort last
    };
    MyTable* table = appState.mainTable;
    for (const SortCase& c : cases) {
        table->clearRows();
        for (const std::string& key : c.keys)
            table->addRow({"id", key});
        table->sortByColumn(1, c.descending);
        EXPECT_EQ(column(table, 1), c.expected);
    }
    // A row without the sort column sorts as the empty text.
    table->clearRows();
    table->addRow({"x", "b"});
    table->addRow({"y"});
    table->sortByColumn(1, 0);
    EXPECT_EQ(column(table, 0), (std::vector<std::string>{"y", "x"}));
}

TEST_F(WindowsTest, HeaderClicksSortAndToggle) {
    showMain();
    MyTable* table = appState.mainTable;
    appState.columnNames = {"Index_ID", "Rack"};
    list(table, {{"k2", "9"}, {"k1", "10"}, {"k3", ""}});
    Fl::flush();
    Fl_Window* window = appState.mainWindow;

    struct Step {
        int col;
        int button;
        int sortColumn;
        int descending;
        std::vector<std::string> rack;
    };
    const std::vector<Step> steps = {
        {1, 1, 1, 0, {"", "10", "9"}}, // first click: ascending
        {1, 1, 1, 1, {"9", "10", ""}}, // second click: descending
        {1, 3, 1, 1, {"9", "10", ""}}, // the right button does not sort
        {1, 1, 1, 0, {"", "10", "9"}}, // third left click: ascending again
        {0, 1, 0, 0, {"10", "9", ""}}, // another header: ascending (by Index_ID k1,k2,k3)
        {1, 1, 1, 0, {"", "10", "9"}}, // back to Rack: ascending, a new column
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        gui::click(window, gui::headerCenter(table, s.col), s.button);
        Fl::flush();
        EXPECT_EQ(table->sortColumn, s.sortColumn) << "step " << i;
        EXPECT_EQ(table->sortDescending, s.descending) << "step " << i;
        EXPECT_EQ(column(table, 1), s.rack) << "step " << i;
    }
}

TEST_F(WindowsTest, ReleaseOverACellLoadsTheRecord) {
    showMain();
    MyTable* table = appState.mainTable;
    SingleInput* edit = appState.editTable;
    appState.columnNames = {"Index_ID", "Rack", "Box"};
    list(table, {{"k1", "R1", "B1"}, {"k2", "R2", "B2"}, {"k3", "R3", "B3"}});
    table->col_width_all(90);
    Fl::flush();
    Fl_Window* window = appState.mainWindow;

    gui::click(window, gui::cellCenter(table, 1, 2)); // left button
    EXPECT_EQ(edit->cols(), 3);
    EXPECT_EQ(edit->getCell(0, 0), "k2");
    EXPECT_EQ(edit->getCell(0, 2), "B2");
    EXPECT_EQ(edit->col_width(1), 90);
    EXPECT_TRUE(table->row_selected(1));

    gui::click(window, gui::cellCenter(table, 2, 0), 3); // right button loads too
    EXPECT_EQ(edit->getCell(0, 0), "k3");

    // Pressed on one row, released on another: nothing is loaded.
    gui::press(window, gui::cellCenter(table, 0, 0));
    gui::release(window, gui::cellCenter(table, 1, 0));
    EXPECT_EQ(edit->getCell(0, 0), "k3");

    // The arrow keys move the selection but load nothing.
    Fl::focus(table);
    gui::key(window, FL_Up, "");
    EXPECT_EQ(edit->getCell(0, 0), "k3");
}

TEST_F(WindowsTest, ListingAfterASortKeepsTheArrowAndDropsTheSelection) {
    showMain();
    MyTable* table = appState.mainTable;
    appState.columnNames = {"Index_ID", "Rack"};
    list(table, {{"k1", "b"}, {"k2", "a"}});
    Fl_Window* window = appState.mainWindow;
    gui::click(window, gui::headerCenter(table, 1));
    gui::click(window, gui::cellCenter(table, 0, 0));
    EXPECT_TRUE(table->row_selected(0));
    list(table, {{"k1", "b"}, {"k2", "a"}});
    EXPECT_FALSE(table->row_selected(0));
    EXPECT_EQ(column(table, 1), (std::vector<std::string>{"b", "a"})); // unsorted again
    gui::click(window, gui::headerCenter(table, 1));
    EXPECT_EQ(table->sortDescending, 1); // the next click on that header: descending
}

TEST_F(WindowsTest, FitColumnWidths) {
    showMain();
    MyTable* table = appState.mainTable;
    const std::string wide = "a text that is far wider than its header";
    appState.columnNames = {"Index_ID", "Box", "Comments"};
    list(table, {{"k1", "x", ""}, {"k2", "y", wide}});
    table->cols(4); // a column without a name keeps its width
    table->col_width_all(55);
    table->fitColumnWidths(3);
    fl_font(FL_HELVETICA, 14);
    int w = 0, h = 0;
    fl_measure(wide.c_str(), w, h, 0);
    EXPECT_EQ(table->col_width(0), 3 + 8 * 8); // "Index_ID" is wider than k1, k2
    EXPECT_EQ(table->col_width(1), 3 + 8 * 3); // Box: 27
    EXPECT_EQ(table->col_width(2), 3 + w);
    EXPECT_GT(table->col_width(2), 3 + 8 * 8);
    EXPECT_EQ(table->col_width(3), 55);
}

TEST_F(WindowsTest, DrawingHandlesSymbolsAndMoreColumnsThanNames) {
    showMain();
    MyTable* table = appState.mainTable;
    appState.columnNames.assign(300, "@->"); // more names than headers are kept for
    std::vector<std::string> wide(300, "@square");
    list(table, {wide, wide});
    table->col_width_all(20);
    table->sortColumn = 299;
    table->redraw();
    Fl::flush();
    table->col_position(290); // scroll to headers beyond 256
    table->redraw();
    Fl::flush();
    appState.columnNames.clear(); // fewer names than columns: empty headers
    table->redraw();
    Fl::flush();
    EXPECT_EQ(table->cols(), 300);
}

} // namespace
