// The edit table: cell store, floating editor, drawing and events.
#include "widgets/SingleInput.h"

#include "app/ApplicationState.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>

#include <algorithm>

namespace {
constexpr Fl_Color kLaterHeaderColor = 46; // a grey of the toolkit's grey ramp
constexpr int kMaxTextLength = 255;

bool inGrid(int row, int col) {
    return row >= 0 && row < SingleInput::kGridRows && col >= 0 && col < SingleInput::kGridColumns;
}
} // namespace

SingleInput::SingleInput(int x, int y, int w, int h, const char* label)
    : Fl_Table(x, y, w, h, label) {
    callback(onEditTableEvent, this);
    when(when() | FL_WHEN_NOT_CHANGED);
    cellInput = new Fl_Input(w / 2, h / 2, 0, 0);
    cellInput->hide();
    cellInput->callback(storeInput, this);
    cellInput->when(FL_WHEN_ENTER_KEY_ALWAYS);
    cellInput->maximum_size(kMaxTextLength);
    for (auto& row : cells)
        row.fill("  ");
    auto* spacer = new Fl_Box(9999, 9999, 0, 0);
    spacer->hide();
    end();
}

SingleInput::~SingleInput() = default;

void SingleInput::setCell(int row, int col, const std::string& text) {
    if (inGrid(row, col))
        cells[row][col] = text;
}

std::string SingleInput::getCell(int row, int col) const {
    return inGrid(row, col) ? cells[row][col] : std::string();
}

void SingleInput::copyColumnWidths(const Fl_Table& other) {
    // The toolkit's getters are not const although they only read.
    Fl_Table& source = const_cast<Fl_Table&>(other);
    for (int c = 0; c < cols(); ++c)
        col_width(c, c < source.cols() ? source.col_width(c) : 0);
}

void SingleInput::commitEdit() {
    if (!cellInput->visible())
        return;
    cellInput->color(FL_YELLOW);
    cellInput->do_callback();
}

void SingleInput::rows(int n) {
    if (cellInput->visible())
        cellInput->do_callback();
    Fl_Table::rows(n);
}

void SingleInput::cols(int n) {
    if (cellInput->visible())
        cellInput->do_callback();
    Fl_Table::cols(std::min(n, kGridColumns));
}

void storeInput(Fl_Widget* /*input*/, void* data) {
    auto* table = static_cast<SingleInput*>(data);
    table->setCell(table->editingRow, table->editingColumn, table->cellInput->value());
    table->cellInput->hide();
}

void SingleInput::draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) {
    switch (context) {
    case CONTEXT_STARTPAGE:
        get_selection(selectionTop, selectionLeft, selectionBottom, selectionRight);
        return;
    case CONTEXT_COL_HEADER:
        drawHeader(col, x, y, w, h);
        return;
    case CONTEXT_CELL:
        drawCell(row, col, x, y, w, h);
        return;
    case CONTEXT_RC_RESIZE:
        followEditedCell();
        return;
    default:
        return;
    }
}

void SingleInput::drawHeader(int col, int x, int y, int w, int h) {
    fl_font(FL_HELVETICA_BOLD, 12);
    fl_push_clip(x, y, w, h);
    fl_draw_box(FL_THIN_UP_BOX, x, y, w, h, col_header_color());
    fl_color(FL_BLACK);
    const bool named = col >= 0 && col < static_cast<int>(appState.columnNames.size());
    fl_draw(named ? appState.columnNames[col].c_str() : "", x, y, w, h, FL_ALIGN_CENTER, nullptr,
            1);
    fl_pop_clip();
    col_header_color(kLaterHeaderColor);
}

void SingleInput::drawCell(int row, int col, int x, int y, int w, int h) {
    if (row == editingRow && col == editingColumn && cellInput->visible())
        return; // the input covers this cell
    const bool selected = row >= selectionTop && row <= selectionBottom && col >= selectionLeft &&
                          col <= selectionRight;
    fl_push_clip(x, y, w, h);
    fl_draw_box(FL_THIN_UP_BOX, x, y, w, h, selected ? FL_YELLOW : FL_WHITE);
    fl_pop_clip();
    fl_push_clip(x + 3, y + 3, w - 6, h - 6);
    fl_color(FL_BLACK);
    fl_font(FL_HELVETICA, 12);
    fl_draw(getCell(row, col).c_str(), x + 3, y + 3, w - 6, h - 6, FL_ALIGN_LEFT, nullptr, 1);
    fl_pop_clip();
}

void SingleInput::followEditedCell() {
    if (!cellInput->visible())
        return;
    int x = 0, y = 0, w = 0, h = 0;
    find_cell(CONTEXT_TABLE, editingRow, editingColumn, x, y, w, h);
    if (x != cellInput->x() || y != cellInput->y() || w != cellInput->w() || h != cellInput->h())
        cellInput->resize(x, y, w, h);
}

void SingleInput::closeEditor() {
    if (cellInput->visible())
        cellInput->do_callback();
    cellInput->hide();
}

void SingleInput::startEditing(int row, int col) {
    const bool key = Fl::event() == FL_KEYBOARD;
    const char* text = Fl::event_text();
    const char first = (key && text) ? text[0] : '\0';
    if (key && first == '\t')
        ++col; // Tab moves editing one column to the right
    if (key && Fl::event_length() == 0)
        return; // a key without text, such as an arrow key
    if (col == 0)
        return; // the record key is never edited in place
    commitEdit();
    if (col >= cols())
        return; // Tab on the last column: stored above, no column to open
    editingRow = row;
    editingColumn = col;
    set_selection(row, col, row, col);
    int x = 0, y = 0, w = 0, h = 0;
    find_cell(CONTEXT_CELL, row, col, x, y, w, h);
    cellInput->resize(x, y, w, h);
    cellInput->value(getCell(row, col).c_str());
    cellInput->show();
    cellInput->take_focus();
    if (key && first != '\r')
        cellInput->handle(FL_KEYBOARD); // type the key that started editing
}

void SingleInput::handleTableEvent() {
    const int row = callback_row();
    const int col = callback_col();
    switch (callback_context()) {
    case CONTEXT_ROW_HEADER:
    case CONTEXT_COL_HEADER:
        closeEditor();
        return;
    case CONTEXT_TABLE:
        if (row < 0 && col < 0)
            closeEditor(); // a click that gives the table the focus
        return;
    case CONTEXT_CELL:
        break;
    default:
        return;
    }
    switch (Fl::event()) {
    case FL_PUSH:
        if (Fl::event_clicks() == 0) {
            closeEditor();
            return;
        }
        Fl::event_clicks(0);
        startEditing(row, col);
        return;
    case FL_KEYBOARD:
        if (row < 0 || col < 0)
            return; // no cell selected: the key has no cell to go to
        startEditing(row, col);
        return;
    default:
        return;
    }
}

void onEditTableEvent(Fl_Widget* /*widget*/, void* data) {
    static_cast<SingleInput*>(data)->handleTableEvent();
}

int setup_edit_table(SingleInput* table) {
    table->row_header(0);
    table->row_header_width(70);
    table->row_resize(0);
    table->rows(1);
    table->row_height_all(19);
    table->col_header(1);
    table->col_header_height(15);
    table->col_resize(1);
    table->cols(appState.columnCount);
    table->col_width_all(70);
    Fl::check();
    return 0;
}
