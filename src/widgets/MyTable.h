// The result table: a read-only grid that keeps its own copy of the listed
// records, draws the column headers from the column names of the open
// database, sorts its rows by a header click and hands a clicked record to
// the edit row.
#pragma once

#include <FL/Fl_Table_Row.H>

#include <array>
#include <string>
#include <vector>

class Fl_Widget;

// One listed record: one text per result column, in the statement's order.
struct ResultRow {
    std::vector<std::string> texts;
};

class MyTable : public Fl_Table_Row {
public:
    // The most columns that get a header; further columns show empty headers.
    static constexpr int kMaxHeaderColumns = 256;

    MyTable(int x, int y, int w, int h, const char* label = nullptr);
    ~MyTable() override;

    // Removes every stored row; rows() and cols() are left alone.
    void clearRows();
    // Appends a row holding copies of `texts`.
    void addRow(const std::vector<std::string>& texts);
    // Appends a row that takes over `texts` (a listing's freshly made row),
    // sparing a copy of every text.
    void addRow(std::vector<std::string>&& texts);
    // Appends an empty row and returns its texts for the caller to fill; the
    // row reuses the storage of a row of an earlier listing where it can.
    std::vector<std::string>& appendRow();
    int dataRowCount() const;
    // The number of texts in the first stored row; with no row stored, the
    // number of column names, so that the headers and the edit row keep the
    // database's columns after a listing that found nothing.
    int dataColumnCount() const;
    // Widths from each column's name (pad + 8 per byte) and, wider where
    // needed, from the measured texts (pad + width), then a redraw.
    void fitColumnWidths(int pad);
    // Reorders the stored rows by the texts of `column`, compared byte by
    // byte as unsigned characters; descending when `descending` is 1.
    void sortByColumn(int column, int descending);
    // The stored text at (row, col), or the empty text outside the store.
    const std::string& cellText(int row, int col) const;

    std::vector<ResultRow> rowData;
    int sortDescending = 0; // 0 ascending, 1 descending
    int sortColumn = -1;    // -1: never sorted

protected:
    void draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) override;

private:
    void drawHeader(int col, int x, int y, int w, int h);
    void drawSortArrow(int x, int y, int w, int h) const;
    void drawCell(int row, int col, int x, int y, int w, int h);
    void refreshHeaderTexts();

    // The storage of earlier listings' rows, kept for appendRow to reuse:
    // freeing a large listing text by text costs about as much as fetching
    // it again, and the next listing would only allocate it anew.
    std::vector<ResultRow> spareRows;
    std::array<std::string, kMaxHeaderColumns> headerTexts;
    int headerCount = 0;

    friend void onResultTableEvent(Fl_Widget* widget, void* table);
};

// The result table's widget callback (user data: the table).  A left-button
// release on a header sorts by that column, toggling the direction on
// repeated clicks; a release of any button over a cell, on the row where the
// press began, loads that record into the edit row.
void onResultTableEvent(Fl_Widget* widget, void* table);

// The result table's configuration after its creation; returns 0.
int setup_main_table(MyTable* table);
