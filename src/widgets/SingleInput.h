// The edit table: a one-row grid of texts under the column names of the open
// database, edited in place through one floating input that is moved over
// the cell being edited.
#pragma once

#include <FL/Fl_Table.H>

#include <array>
#include <string>

class Fl_Input;
class Fl_Widget;

class SingleInput : public Fl_Table {
public:
    // The size of the cell grid; columns beyond it are neither stored nor shown.
    static constexpr int kGridRows = 1;
    static constexpr int kGridColumns = 200;

    SingleInput(int x, int y, int w, int h, const char* label = nullptr);
    ~SingleInput() override;

    // Stores a copy of `text` at (row, col); no redraw.  Outside the grid:
    // nothing happens.
    void setCell(int row, int col, const std::string& text);
    // A copy of the text at (row, col); the empty text outside the grid.
    std::string getCell(int row, int col) const;
    // Each column below cols() takes the width of `other`'s column with the
    // same index (0 where `other` has no such column).
    void copyColumnWidths(const Fl_Table& other);
    // If the editor is open: it turns yellow, then its text is stored into
    // its cell and it is hidden.  Otherwise nothing.
    void commitEdit();

    // Both store an open edit first, then set the count; cols() is held to
    // the grid's 200 columns.
    void rows(int n) override;
    void cols(int n) override;
    using Fl_Table::cols;
    using Fl_Table::rows;

    Fl_Input* cellInput = nullptr;
    std::array<std::array<std::string, kGridColumns>, kGridRows> cells;
    int editingRow = 0;
    int editingColumn = 0;
    int selectionLeft = 0;
    int selectionTop = 0;
    int selectionRight = 0;
    int selectionBottom = 0;

protected:
    void draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) override;

private:
    void drawHeader(int col, int x, int y, int w, int h);
    void drawCell(int row, int col, int x, int y, int w, int h);
    void followEditedCell();
    void closeEditor();
    void startEditing(int row, int col);
    void handleTableEvent();

    friend void storeInput(Fl_Widget* input, void* table);
    friend void onEditTableEvent(Fl_Widget* widget, void* table);
};

// The floating input's callback (user data: the table): stores the input's
// text into the cell being edited and hides the input.
void storeInput(Fl_Widget* input, void* table);

// The edit table's widget callback (user data: the table): clicks on headers
// and single clicks close the editor; a double click, a text key, Enter or
// Tab open it on a cell of column 1 or beyond.
void onEditTableEvent(Fl_Widget* widget, void* table);

// The edit table's configuration: one row, appState.columnCount columns of
// 70 pixels; returns 0.
int setup_edit_table(SingleInput* table);
