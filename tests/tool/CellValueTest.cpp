// Reading CSV texts into cells of each column kind, and number formatting.
#include "db/CellValue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rackbook;

namespace {

// Renders a cell as "T:text", "I:42", "R:1.5", or "!" when refused.
std::string render(ColumnKind kind, const std::string& text) {
    std::string error;
    auto cell = cellFromText(kind, text, error);
    if (!cell)
        return "!";
    switch (cell->type) {
    case CellValue::Type::Text:
        return "T:" + cell->text;
    case CellValue::Type::Integer:
        return "I:" + std::to_string(cell->integer);
    case CellValue::Type::Real:
        return "R:" + formatReal(cell->real);
    case CellValue::Type::Null:
        return "N";
    }
    return "?";
}

struct CellCase {
    ColumnKind kind;
    std::string text;
    std::string expected;
};

class CellFromText : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellFromText, ChecksTheTextAgainstTheColumn) {
    EXPECT_EQ(render(GetParam().kind, GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellFromText,
    ::testing::Values(
        CellCase{ColumnKind::Text, " as is, \"kept\" ", "T: as is, \"kept\" "},
        CellCase{ColumnKind::Memo, "two\nlines", "T:two\nlines"},
        CellCase{ColumnKind::DateTime, "2008-12-14", "T:2008-12-14 00:00:00"},
        CellCase{ColumnKind::DateTime, "1750-06-01 08:15:00", "T:1750-06-01 08:15:00"},
        CellCase{ColumnKind::DateTime, "2008-02-30", "!"},
        CellCase{ColumnKind::DateTime, "12/14/2008", "!"},
        CellCase{ColumnKind::Integer, "-42", "I:-42"}, CellCase{ColumnKind::Integer, "4.5", "!"},
        CellCase{ColumnKind::Integer, " 7", "!"},
        CellCase{ColumnKind::Integer, "99999999999999999999", "!"},
        CellCase{ColumnKind::Double, "2.5e3", "R:2500"},
        CellCase{ColumnKind::Double, "0.1", "R:0.1"}, CellCase{ColumnKind::Double, "abc", "!"},
        CellCase{ColumnKind::Double, "inf", "!"}, CellCase{ColumnKind::YesNo, "Yes", "I:1"},
        CellCase{ColumnKind::YesNo, "false", "I:0"}, CellCase{ColumnKind::YesNo, "-1", "I:1"},
        CellCase{ColumnKind::YesNo, "maybe", "!"}));

TEST(FormatReal, ShortestTextThatReadsBackExactly) {
    for (double value :
         {0.1, 1.0 / 3.0, 2.5, -1e-300, 123456789.123456789, std::nextafter(1.0, 2.0)})
        EXPECT_EQ(std::strtod(formatReal(value).c_str(), nullptr), value) << formatReal(value);
    EXPECT_EQ(formatReal(0.1), "0.1");
    EXPECT_EQ(formatReal(2.5), "2.5");
}

} // namespace
