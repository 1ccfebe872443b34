// The result table's column widths come out exactly as if every text had
// been measured, although the table skips the texts that cannot widen their
// column and measures each distinct text once.  The reference below is that
// plain algorithm, run with the toolkit's own measuring on the same display.
#include "GuiFixture.h"

#include <FL/fl_draw.H>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct WidthCase {
    const char* name;
    std::vector<std::string> columnNames;
    std::vector<std::vector<std::string>> rows;
    int columns;      // the table's cols()
    int earlierWidth; // every column's width before fitting
    int pad;
};

// The widths of the plain algorithm: names first, then every text measured.
std::vector<int> plainWidths(MyTable& table, const std::vector<std::string>& names, int pad) {
    fl_font(FL_HELVETICA, 14);
    std::vector<int> widths(table.cols());
    for (int c = 0; c < table.cols(); ++c)
        widths[c] = table.col_width(c);
    for (int c = 0; c < table.cols() && c < static_cast<int>(names.size()); ++c)
        widths[c] = pad + 8 * static_cast<int>(names[c].size());
    for (const ResultRow& row : table.rowData) {
        for (int c = 0; c < table.cols() && c < static_cast<int>(row.texts.size()); ++c) {
            int w = 0;
            int h = 0;
            fl_measure(row.texts[c].c_str(), w, h, 0);
            if (pad + w > widths[c])
                widths[c] = pad + w;
        }
    }
    return widths;
}

std::vector<int> tableWidths(MyTable& table) {
    std::vector<int> widths;
    for (int c = 0; c < table.cols(); ++c)
        widths.push_back(table.col_width(c));
    return widths;
}

// Texts of every kind the widths must not be fooled by: narrow and wide
// letters, multi-byte UTF-8 (accents, Cyrillic, CJK, an emoji, a very wide
// ligature, a combining accent), '@' symbol sequences (measured literally),
// control characters, tabs, line ends, empty texts and a 255-byte text.
const std::vector<std::string> kVariedTexts = {
    "",
    "i",
    "iiiiiiiiiiii",
    "W",
    "WWWWWWWWWWWW",
    "MMMMMMMMMMMMMMMMMMMM",
    "1_1_A1",
    "108_12_I9",
    "2008-12-24",
    "E. coli K12 MG1655",
    "low expression at 37 C, grow at 18 C",
    "Ma\xc3\xa7\xc3\xa3 \xc3\xa9t\xc3\xa9", // Maçã été
    "\xd0\x96\xd0\x96\xd0\x96\xd0\x96",     // ЖЖЖЖ
    "\xe4\xb8\xad\xe6\x96\x87\xe5\xad\x97", // 中文字
    "\xf0\x9f\x98\x80\xf0\x9f\x98\x80",     // two emoji
    "\xef\xb7\xbd",                         // the wide Arabic ligature U+FDFD
    "e\xcc\x81\xcc\x81\xcc\x81",            // e with combining accents
    "@",
    "@->",
    "@@",
    "@2>",
    "@square wider than its symbol",
    "tab\there",
    "\t\t\t",
    "ctrl\x01\x02\x7f",
    "two\nlines, the second is the longer one",
    std::string(255, 'W'),
    std::string(255, 'i'),
};

// A deterministic pseudo-random text made of pieces of the varied texts.
std::string mixedText(std::uint32_t& state) {
    std::string text;
    state = state * 1664525u + 1013904223u;
    const int pieces = static_cast<int>(state >> 29); // 0 .. 7
    for (int i = 0; i < pieces; ++i) {
        state = state * 1664525u + 1013904223u;
        const std::string& piece = kVariedTexts[(state >> 8) % kVariedTexts.size()];
        text += piece.substr(0, 12);
    }
    return text.substr(0, 255);
}

std::vector<WidthCase> widthCases() {
    std::vector<WidthCase> cases;
    const std::vector<std::string> names = {"Index_ID", "Rack",     "Box",     "Position",
                                            "Strain",   "Dates_ID", "Comments"};

    // Each varied text alone in each column, below narrow texts, so that it
    // is the one that has to widen the column.
    WidthCase varied{"varied texts", names, {}, 7, 40, 3};
    for (const std::string& text : kVariedTexts) {
        varied.rows.push_back(std::vector<std::string>(7, "i"));
        varied.rows.push_back(std::vector<std::string>(7, text));
    }
    cases.push_back(varied);

    // Widening late: narrow texts first, the widest last.
    WidthCase late{"the widest text last", names, {}, 7, 10, 3};
    for (int n = 0; n < 60; ++n)
        late.rows.push_back(std::vector<std::string>(7, std::string(n % 30, n % 2 ? 'i' : 'W')));
    cases.push_back(late);

    // Many rows of mixed texts, repeated and distinct, under several pads.
    for (int pad : {0, 3, 17}) {
        WidthCase mixed{"mixed texts", names, {}, 7, 70, pad};
        std::uint32_t state = 7u + static_cast<std::uint32_t>(pad);
        for (int r = 0; r < 400; ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < 7; ++c)
                row.push_back(mixedText(state));
            mixed.rows.push_back(row);
        }
        cases.push_back(mixed);
    }

    // More columns than names (the others keep their width unless a text is
    // wider), rows shorter than the table and rows longer than it.
    cases.push_back({"columns without names",
                     {"Index_ID", "Box"},
                     {{"k", "b", "@@ unnamed but wide", "i"}, {"k2"}, {"k3", "b", "", "", "x"}},
                     4,
                     55,
                     3});
    // Fewer columns shown than the rows hold: the texts beyond cols() do not count.
    cases.push_back({"fewer columns than texts",
                     names,
                     {{"a", "b", "c", "WWWWWWWWWWWWWWWWWWWWWWWW"}},
                     2,
                     300,
                     3});
    // Earlier widths far wider than needed are replaced by the name estimate.
    cases.push_back({"wide earlier widths", names, {{"1_1_A1", "1", "1", "A1"}}, 7, 900, 3});
    // No rows at all.
    cases.push_back({"no rows", names, {}, 7, 33, 3});
    return cases;
}

TEST_F(WindowsTest, FitColumnWidthsGivesThePlainAlgorithmsWidths) {
    showMain();
    MyTable& table = *appState.mainTable;
    for (const WidthCase& c : widthCases()) {
        SCOPED_TRACE(c.name + std::string(", pad ") + std::to_string(c.pad));
        appState.columnNames = c.columnNames;
        table.clearRows();
        for (const std::vector<std::string>& row : c.rows)
            table.addRow(row);
        table.cols(c.columns);
        table.col_width_all(c.earlierWidth);
        const std::vector<int> expected = plainWidths(table, c.columnNames, c.pad);
        table.fitColumnWidths(c.pad);
        EXPECT_EQ(tableWidths(table), expected);
    }
}

// The widths do not depend on what an earlier fit found: fitting twice, or
// after other rows were fitted, gives the plain widths again.
TEST_F(WindowsTest, FitColumnWidthsKeepsNothingBetweenCalls) {
    showMain();
    MyTable& table = *appState.mainTable;
    appState.columnNames = {"Index_ID", "Comments"};
    table.addRow({"k1", std::string(40, 'W')});
    table.cols(2);
    table.fitColumnWidths(3);
    table.clearRows();
    table.addRow({"k2", "short"});
    table.col_width_all(50);
    const std::vector<int> expected = plainWidths(table, appState.columnNames, 3);
    table.fitColumnWidths(3);
    EXPECT_EQ(tableWidths(table), expected);
    EXPECT_EQ(table.col_width(1), 3 + 8 * 8); // "Comments" is wider than "short"
}

} // namespace
