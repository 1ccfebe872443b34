// Date texts and day numbers: calendar checks, the stored text, and the
// conversion of Access day numbers.
#include "schema/DateText.h"

#include <gtest/gtest.h>

using namespace rackbook;

namespace {

struct ParseCase {
    std::string text;
    std::string stored; // empty: refused
};

class DateTextParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateTextParse, AcceptsCalendarDatesOnly) {
    auto value = parseDateText(GetParam().text);
    if (GetParam().stored.empty()) {
        EXPECT_FALSE(value.has_value()) << GetParam().text;
    } else {
        ASSERT_TRUE(value.has_value()) << GetParam().text;
        EXPECT_EQ(formatStoredDateTime(*value), GetParam().stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTextParse,
    ::testing::Values(ParseCase{"2008-12-14", "2008-12-14 00:00:00"},
                      ParseCase{"2008-02-29", "2008-02-29 00:00:00"},
                      ParseCase{"2000-02-29", "2000-02-29 00:00:00"}, ParseCase{"1900-02-29", ""},
                      ParseCase{"2007-02-29", ""}, ParseCase{"2008-02-31", ""},
                      ParseCase{"2008-04-31", ""}, ParseCase{"2008-13-01", ""},
                      ParseCase{"2008-00-10", ""}, ParseCase{"2008-01-00", ""},
                      ParseCase{"0000-01-01", ""}, ParseCase{"0001-01-01", "0001-01-01 00:00:00"},
                      ParseCase{"9999-12-31 23:59:59", "9999-12-31 23:59:59"},
                      ParseCase{"2008-12-14 24:00:00", ""}, ParseCase{"2008-12-14 10:60:00", ""},
                      ParseCase{"2008-12-14T10:00:00", ""}, ParseCase{"2008x12y21", ""},
                      ParseCase{"2008-1-5", ""}, ParseCase{"14.12.2008", ""}, ParseCase{"", ""}));

TEST(DateTextExport, MidnightShortensToTheDay) {
    EXPECT_EQ(exportDateText("2008-12-14 00:00:00"), "2008-12-14");
    EXPECT_EQ(exportDateText("2008-12-14 10:30:05"), "2008-12-14 10:30:05");
    EXPECT_EQ(exportDateText("not a date"), "not a date");
}

TEST(DayNumbers, RoundTripOverTheWholeRange) {
    for (std::int64_t day = daysFromCivil(1, 1, 1); day <= daysFromCivil(9999, 12, 31);
         day += 997) {
        DateTime date = civilFromDays(day);
        ASSERT_TRUE(isValidDateTime(date)) << day;
        ASSERT_EQ(daysFromCivil(date.year, date.month, date.day), day);
    }
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(2000, 3, 1) - daysFromCivil(2000, 2, 28), 2);
    EXPECT_EQ(daysFromCivil(1900, 3, 1) - daysFromCivil(1900, 2, 28), 1);
}

struct AccessCase {
    double days;
    std::string stored; // empty: out of range
};

class AccessDays : public ::testing::TestWithParam<AccessCase> {};

TEST_P(AccessDays, ConvertWithTimeFromMidnight) {
    auto value = dateTimeFromAccessDays(GetParam().days);
    if (GetParam().stored.empty()) {
        EXPECT_FALSE(value.has_value());
    } else {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(formatStoredDateTime(*value), GetParam().stored);
    }
}

// Known values of the Access calendar: 0 is 1899-12-30, 2 is 1900-01-01,
// 39796 is 2008-12-14; negative numbers count days back while the fraction
// still counts hours forward from midnight.
INSTANTIATE_TEST_SUITE_P(
    Cases, AccessDays,
    ::testing::Values(
        AccessCase{0.0, "1899-12-30 00:00:00"}, AccessCase{2.0, "1900-01-01 00:00:00"},
        AccessCase{39796.0, "2008-12-14 00:00:00"}, AccessCase{39796.5, "2008-12-14 12:00:00"},
        AccessCase{-1.0, "1899-12-29 00:00:00"}, AccessCase{-1.25, "1899-12-29 06:00:00"},
        AccessCase{-0.5, "1899-12-30 12:00:00"}, AccessCase{-36522.0, "1800-01-01 00:00:00"},
        AccessCase{-657434.0, "0100-01-01 00:00:00"}, AccessCase{2958465.0, "9999-12-31 00:00:00"},
        AccessCase{2958465.0 + 86399.0 / 86400.0, "9999-12-31 23:59:59"},
        AccessCase{1.0 + 86399.6 / 86400.0, "1900-01-01 00:00:00"}, AccessCase{2958466.0, ""},
        AccessCase{1e300, ""}));

} // namespace
