// The result table: row store, drawing, sorting, column widths and clicks.
#include "widgets/MyTable.h"

#include "app/ApplicationState.h"
#include "edit/EditRow.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {
const std::string kEmptyText;
constexpr Fl_Color kArrowShade = 41; // a dark grey of the toolkit's grey ramp

// The width of a text on one line in the current font, symbols off.
int measuredWidth(const std::string& text) {
    int w = 0;
    int h = 0;
    fl_measure(text.c_str(), w, h, 0);
    return w;
}

// The advances of the printable ASCII characters (blank to tilde) in the
// current font.  The toolkit's width of a line of such characters is the sum
// of their advances (the X11 font drivers neither kern nor shape), so that
// sum bounds what fl_measure finds for the line.
class AsciiAdvances {
public:
    AsciiAdvances() {
        for (char c = kFirst; c <= kLast; ++c)
            advances_[c - kFirst] = fl_width(&c, 1);
    }
    // An upper bound of the text's measured width, or -1 when it holds any
    // other character: a control character (drawn as ^X, or a tab stop, or
    // a line break) or a multi-byte character (whose glyph may come from
    // another font).
    long bound(const std::string& text) const {
        double sum = 0;
        for (char c : text) {
            if (c < kFirst || c > kLast)
                return -1;
            sum += advances_[c - kFirst];
        }
        return static_cast<long>(std::ceil(sum)) + 1; // a pixel of slack for rounding
    }

private:
    static constexpr char kFirst = 0x20;
    static constexpr char kLast = 0x7e;
    std::array<double, kLast - kFirst + 1> advances_{};
};

} // namespace

MyTable::MyTable(int x, int y, int w, int h, const char* label) : Fl_Table_Row(x, y, w, h, label) {
    end(); // widgets created after the table must not become its children
    callback(onResultTableEvent, this);
}

MyTable::~MyTable() = default;

void MyTable::clearRows() {
    spareRows.insert(spareRows.end(), std::make_move_iterator(rowData.begin()),
                     std::make_move_iterator(rowData.end()));
    rowData.clear();
}

void MyTable::addRow(const std::vector<std::string>& texts) {
    rowData.push_back(ResultRow{texts});
}

void MyTable::addRow(std::vector<std::string>&& texts) {
    rowData.push_back(ResultRow{std::move(texts)});
}

std::vector<std::string>& MyTable::appendRow() {
    if (spareRows.empty()) {
        rowData.emplace_back();
    } else {
        rowData.push_back(std::move(spareRows.back()));
        spareRows.pop_back();
    }
    return rowData.back().texts;
}

int MyTable::dataRowCount() const {
    return static_cast<int>(rowData.size());
}

int MyTable::dataColumnCount() const {
    if (rowData.empty())
        return static_cast<int>(appState.columnNames.size());
    return static_cast<int>(rowData.front().texts.size());
}

const std::string& MyTable::cellText(int row, int col) const {
    if (row < 0 || row >= dataRowCount() || col < 0)
        return kEmptyText;
    const std::vector<std::string>& texts = rowData[row].texts;
    return col < static_cast<int>(texts.size()) ? texts[col] : kEmptyText;
}

void MyTable::fitColumnWidths(int pad) {
    fl_open_display();         // measuring needs the display's fonts
    fl_font(FL_HELVETICA, 14); // one size above the cells, for some slack
    const int columns = cols();
    std::vector<int> widths(columns);
    for (int c = 0; c < columns; ++c)
        widths[c] = col_width(c);
    const int named = std::min(columns, static_cast<int>(appState.columnNames.size()));
    for (int c = 0; c < named; ++c)
        widths[c] = pad + 8 * static_cast<int>(appState.columnNames[c].size());

    // Most texts cannot widen their column: a text of printable ASCII
    // characters whose bound fits is not measured, and any other text is
    // measured once per distinct text.  The widths come out as if every text
    // had been measured.
    const AsciiAdvances advances;
    std::unordered_map<std::string_view, int> measured;
    for (const ResultRow& row : rowData) {
        const int shown = std::min(columns, static_cast<int>(row.texts.size()));
        for (int c = 0; c < shown; ++c) {
            const std::string& text = row.texts[c];
            const long bound = advances.bound(text);
            if (bound >= 0 && pad + bound <= widths[c])
                continue;
            auto [at, isNew] = measured.try_emplace(text, 0);
            if (isNew)
                at->second = measuredWidth(text);
            if (pad + at->second > widths[c])
                widths[c] = pad + at->second;
        }
    }
    for (int c = 0; c < columns; ++c)
        col_width(c, widths[c]);
    table_resized();
    redraw();
}

void MyTable::sortByColumn(int column, int descending) {
    auto key = [column](const ResultRow& row) -> const std::string& {
        if (column < 0 || column >= static_cast<int>(row.texts.size()))
            return kEmptyText;
        return row.texts[column];
    };
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned characters, as strcmp does.
    if (descending == 1)
        std::sort(rowData.begin(), rowData.end(),
                  [&](const ResultRow& a, const ResultRow& b) { return key(b) < key(a); });
    else
        std::sort(rowData.begin(), rowData.end(),
                  [&](const ResultRow& a, const ResultRow& b) { return key(a) < key(b); });
    redraw();
}

void MyTable::refreshHeaderTexts() {
    const int names = std::min(static_cast<int>(appState.columnNames.size()), kMaxHeaderColumns);
    for (int c = 0; c < names; ++c)
        headerTexts[c] = appState.columnNames[c];
    headerCount = names;
}

void MyTable::draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) {
    switch (context) {
    case CONTEXT_STARTPAGE:
        fl_font(FL_HELVETICA, 12);
        return;
    case CONTEXT_COL_HEADER:
        drawHeader(col, x, y, w, h);
        return;
    case CONTEXT_CELL:
        drawCell(row, col, x, y, w, h);
        return;
    default:
        return;
    }
}

void MyTable::drawHeader(int col, int x, int y, int w, int h) {
    fl_font(FL_HELVETICA_BOLD, 12);
    fl_push_clip(x, y, w, h);
    refreshHeaderTexts();
    fl_draw_box(FL_THIN_UP_BOX, x, y, w, h, color());
    if (col >= 0 && col < headerCount) {
        fl_color(FL_BLACK);
        fl_draw(headerTexts[col].c_str(), x + 2, y, w, h, FL_ALIGN_LEFT, nullptr, 0);
        if (col == sortColumn)
            drawSortArrow(x, y, w, h);
    }
    fl_pop_clip();
}

void MyTable::drawSortArrow(int x, int y, int w, int h) const {
    const int left = x + w - 14;
    const int middle = x + w - 10;
    const int right = x + w - 6;
    const int top = y + h / 2 - 4;
    const int bottom = y + h / 2 + 4;
    if (sortDescending == 1) {
        fl_color(FL_WHITE);
        fl_line(right, top, middle, bottom);
        fl_color(kArrowShade);
        fl_line(left, top, right, top);
        fl_line(left, top, middle, bottom);
    } else {
        fl_color(FL_WHITE);
        fl_line(right, bottom, middle, top);
        fl_line(right, bottom, left, bottom);
        fl_color(kArrowShade);
        fl_line(left, bottom, middle, top);
    }
}

void MyTable::drawCell(int row, int col, int x, int y, int w, int h) {
    fl_font(FL_HELVETICA, 12);
    fl_push_clip(x, y, w, h);
    fl_color(row_selected(row) ? selection_color() : FL_WHITE);
    fl_rectf(x, y, w, h);
    fl_color(FL_BLACK);
    fl_draw(cellText(row, col).c_str(), x + 2, y, w, h, FL_ALIGN_LEFT, nullptr, 1);
    fl_color(FL_LIGHT2);
    fl_rect(x, y, w, h);
    fl_pop_clip();
}

void onResultTableEvent(Fl_Widget* /*widget*/, void* data) {
    auto* table = static_cast<MyTable*>(data);
    const Fl_Table::TableContext context = table->callback_context();
    const int row = table->callback_row();
    const int col = table->callback_col();
    if (context == Fl_Table::CONTEXT_COL_HEADER) {
        if (Fl::event() != FL_RELEASE || Fl::event_button() != 1)
            return;
        table->sortDescending = (col == table->sortColumn) ? 1 - table->sortDescending : 0;
        table->sortByColumn(col, table->sortDescending);
        table->sortColumn = col;
        return;
    }
    if (context == Fl_Table::CONTEXT_CELL && Fl::event() == FL_RELEASE) {
        if (row < 0 || row >= table->dataRowCount())
            return;
        std::vector<std::string> record;
        const int n = table->dataColumnCount();
        for (int c = 0; c < n; ++c)
            record.push_back(table->cellText(row, c));
        loadEditRow(record);
    }
}

int setup_main_table(MyTable* table) {
    table->selection_color(FL_YELLOW);
    table->row_height_all(15);
    table->col_header(1);
    table->col_resize(1);
    table->when(FL_WHEN_RELEASE);
    table->type(Fl_Table_Row::SELECT_SINGLE);
    Fl::check();
    return 0;
}
