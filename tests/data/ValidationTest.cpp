// The checks of the edit row before a save, as a table of rows and the
// message each gets.
#include "edit/Validation.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kColumns = {"Index_ID", "Rack",     "Box",     "Position",
                                           "Strain",   "Dates_ID", "Comments"};

// A row of the usual layout with the given date, strain and comment.
std::vector<std::string> row(const std::string& date, const std::string& strain = "K12",
                             const std::string& comment = "", const std::string& rack = "R1") {
    return {"", rack, "B2", "P3", strain, date, comment};
}

struct DateCase {
    std::string date;
    std::string refusal; // empty: passes
};

TEST(CheckDateText, EdgeCases) {
    const std::string pass;
    const DateCase cases[] = {
        {"", pass},
        {"2008-12-21", pass},
        {"2008-02-31", pass},
        {"2008.12.21", pass},
        {"2008x12y21", pass},
        {"1800-01-01", pass},
        {"2500-12-31", pass},
        {"1799-12-31", kYearMessage},
        {"2501-01-01", kYearMessage},
        {"2008-00-10", kMonthMessage},
        {"2008-13-10", kMonthMessage},
        {"2008-12-00", kDayMessage},
        {"2008-12-32", kDayMessage},
        {"21-12-2008", kYearMessage},
        {"2008-12-2", kDateFormMessage},
        {"2008-12-21 10:00:00", kDateFormMessage},
        {" 2008-1-05", kYearMessage},
        {"2008- 1-05", pass},
        {"2008-+1-05", pass},
        {"2008-1x-05", pass},
        {"abcd-12-21", kYearMessage},
        {"2008-ab-21", kMonthMessage},
        {"2008-12-ab", kDayMessage},
    };
    for (const DateCase& c : cases)
        EXPECT_EQ(checkDateText(c.date), c.refusal) << "'" << c.date << "'";
}

struct RowCase {
    const char* what;
    std::vector<std::string> row;
    std::string refusal;
};

TEST(CheckEditRow, OrderOfTheChecks) {
    const RowCase cases[] = {
        {"good row", row("2008-12-21"), ""},
        {"empty date passes", row(""), ""},
        {"slash in the date before the date check", row("2008/12/21"), kSlashMessage},
        {"apostrophe in a comment", row("2008-12-21", "K12", "don't"), kApostropheMessage},
        {"apostrophe in column 2 beats slash in column 5",
         {"", "R1", "B'2", "P3", "K12", "2008/12/21", ""},
         kApostropheMessage},
        {"slash before apostrophe in one column", row("", "a'/b"), kSlashMessage},
        {"slash in the key column", {"R/1", "R1", "B2", "P3", "K12", "", ""}, kSlashMessage},
        {"bad date beats an empty place", row("2008-13-01", "K12", "", ""), kMonthMessage},
        {"empty place is not checked here", row("", "K12", "", ""), ""},
    };
    for (const RowCase& c : cases) {
        const RowCheck check = checkEditRow(c.row, kColumns);
        EXPECT_EQ(check.refusal, c.refusal) << c.what;
        EXPECT_EQ(check.dateColumn, 5) << c.what;
    }
}

TEST(CheckEditRow, RefusesATableWithoutDatesIdOrWithTooFewColumns) {
    const std::vector<std::string> noDate = {"Index_ID", "Rack", "Box", "Position", "Strain"};
    const RowCheck withoutDate = checkEditRow({"", "1", "2", "3", "x"}, noDate);
    EXPECT_NE(withoutDate.refusal.find("Dates_ID"), std::string::npos) << withoutDate.refusal;

    const std::vector<std::string> three = {"Index_ID", "Rack", "Dates_ID"};
    const RowCheck tooFew = checkEditRow({"", "1", ""}, three);
    EXPECT_NE(tooFew.refusal.find("four columns"), std::string::npos) << tooFew.refusal;

    // A Dates_ID beyond the row's own columns is not the row's date column.
    const RowCheck outside = checkEditRow({"", "1", "2", "3"}, kColumns);
    EXPECT_NE(outside.refusal.find("Dates_ID"), std::string::npos) << outside.refusal;
}

TEST(PlaceCheck, MessageNamesAllThreeColumns) {
    EXPECT_EQ(placeMissingMessage(kColumns),
              "Error!\nPlease fill all three first fields \n(Rack, Box, Position)!");
    EXPECT_TRUE(placeMissing(row("", "K12", "", "")));
    EXPECT_TRUE(placeMissing({"", "R1", "", "P3", "", "", ""}));
    EXPECT_TRUE(placeMissing({"", "R1", "B2", "", "", "", ""}));
    EXPECT_FALSE(placeMissing(row("")));
}

TEST(PlaceKey, JoinsThePlaceWithUnderscores) {
    EXPECT_EQ(placeKey(row("")), "R1_B2_P3");
    // Underscores inside place texts can make two places share a key.
    EXPECT_EQ(placeKey({"", "R1_B2", "B3", "P4"}), placeKey({"", "R1", "B2_B3", "P4"}));
}

} // namespace
