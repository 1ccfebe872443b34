// Table tests of parseAccessDate: the text between the # signs of a date
// literal, read and checked against the calendar.
#include "AccessDate.h"

#include <gtest/gtest.h>

namespace {

using mdblite::daysInMonth;
using mdblite::parseAccessDate;

struct DateCase {
    const char* literal;
    const char* stored; // nullptr: refused
};

const DateCase kDates[] = {
    // The three written orders; a date alone means midnight.
    {"2008-12-21", "2008-12-21 00:00:00"},
    {"2008/12/21", "2008-12-21 00:00:00"},
    {"12/21/2008", "2008-12-21 00:00:00"},
    {"1/2/2008", "2008-01-02 00:00:00"}, // month first, as Access reads it
    {"2008-1-5", "2008-01-05 00:00:00"},
    {"2008/01/05", "2008-01-05 00:00:00"},
    {"1900-04-24", "1900-04-24 00:00:00"},
    {"  2008-12-21\t", "2008-12-21 00:00:00"},
    // Times.
    {"2008-12-21 14:30:15", "2008-12-21 14:30:15"},
    {"2008-12-21 14:30", "2008-12-21 14:30:00"},
    {"2008-12-21 9:05", "2008-12-21 09:05:00"},
    {"2008/12/21  00:00:00", "2008-12-21 00:00:00"},
    {"12/21/2008 23:59:59", "2008-12-21 23:59:59"},
    {"12/21/2008 2:30 PM", "2008-12-21 14:30:00"},
    {"12/21/2008 2:30:05 pm", "2008-12-21 14:30:05"},
    {"12/21/2008 12:00 AM", "2008-12-21 00:00:00"},
    {"12/21/2008 12:00 PM", "2008-12-21 12:00:00"},
    {"2008-12-21 11:15am", "2008-12-21 11:15:00"},
    // The calendar: month lengths and leap years; four-digit years 1 to 9999.
    {"2008-02-29", "2008-02-29 00:00:00"},
    {"2000-02-29", "2000-02-29 00:00:00"},
    {"2008-04-30", "2008-04-30 00:00:00"},
    {"2008-12-31", "2008-12-31 00:00:00"},
    {"0001-01-01", "0001-01-01 00:00:00"},
    {"0099/7/4", "0099-07-04 00:00:00"},
    {"9999-12-31 23:59:59", "9999-12-31 23:59:59"},
    {"2008-02-31", nullptr},
    {"2008-02-30", nullptr},
    {"2007-02-29", nullptr},
    {"1900-02-29", nullptr}, // divisible by 100, not by 400
    {"2100-02-29", nullptr},
    {"2008-04-31", nullptr},
    {"2008-13-01", nullptr},
    {"2008-00-10", nullptr},
    {"2008-12-00", nullptr},
    {"2008-12-32", nullptr},
    {"0000-01-01", nullptr},
    {"10000-01-01", nullptr},
    {"13/1/2008", nullptr}, // no day-first reading when the month is impossible
    {"21/12/2008", nullptr},
    {"2/30/2008", nullptr},
    // Shapes that are not dates.
    {"2008x12y21", nullptr},
    {"2008-12/21", nullptr},
    {"2008.12.21", nullptr},
    {"12-21-2008", nullptr},
    {"08-12-21", nullptr},
    {"12/21/08", nullptr},
    {"2008-012-21", nullptr},
    {"2008-12-211", nullptr},
    {"2008-12-21x", nullptr},
    {"-2008-12-21", nullptr},
    {"+2008-12-21", nullptr},
    {"2008-12-21T10:00", nullptr},
    {"2008-12-21 10", nullptr},
    {"2008-12-21 10:5", nullptr},
    {"2008-12-21 10:", nullptr},
    {"2008-12-21 10:00:", nullptr},
    {"2008-12-21 10:00:00:00", nullptr},
    {"2008-12-21 10:00:00.5", nullptr},
    {"2008-12-21 100:00", nullptr},
    {"2008-12-21 24:00", nullptr},
    {"2008-12-21 23:60", nullptr},
    {"2008-12-21 23:59:60", nullptr},
    {"2008-12-21 13:00 PM", nullptr},
    {"2008-12-21 0:30 AM", nullptr},
    {"2008-12-21 10:00 XM", nullptr},
    {"2008-12-21 10:00 AMX", nullptr},
    {"10:00", nullptr},
    {"", nullptr},
    {"   ", nullptr},
    {"2008-12-21\n10:00", nullptr},
};

TEST(AccessDate, ReadsOrRefusesEachLiteral) {
    for (const DateCase& c : kDates) {
        SCOPED_TRACE(std::string("#") + c.literal + "#");
        std::optional<std::string> stored = parseAccessDate(c.literal);
        if (c.stored) {
            ASSERT_TRUE(stored.has_value());
            EXPECT_EQ(*stored, c.stored);
        } else {
            EXPECT_FALSE(stored.has_value()) << "read as " << *stored;
        }
    }
}

struct MonthCase {
    int year, month, days;
};

const MonthCase kMonths[] = {
    {2008, 1, 31}, {2008, 2, 29}, {2007, 2, 28},  {1900, 2, 28},  {2000, 2, 29}, {2008, 4, 30},
    {2008, 6, 30}, {2008, 9, 30}, {2008, 11, 30}, {2008, 12, 31}, {2008, 0, 0},  {2008, 13, 0},
};

TEST(AccessDate, CountsTheDaysOfEachMonth) {
    for (const MonthCase& c : kMonths) {
        EXPECT_EQ(daysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
    }
}

} // namespace
