// Date/Time values as a database stores them: the text 'YYYY-MM-DD HH:MM:SS'
// with a four-digit year from 0001 to 9999.  Pure functions: the calendar
// checks, the day-number arithmetic, and the conversions used by the CSV
// commands (date texts) and the Access import (stored day numbers).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rackbook {

struct DateTime {
    int year = 1;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// True when the fields name a real moment with a year from 1 to 9999.
bool isValidDateTime(const DateTime& value);

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar
// (negative before it), and back.
std::int64_t daysFromCivil(int year, int month, int day);
DateTime civilFromDays(std::int64_t days);

// The stored text 'YYYY-MM-DD HH:MM:SS' of a valid value.
std::string formatStoredDateTime(const DateTime& value);

// Reads "YYYY-MM-DD" (midnight) or "YYYY-MM-DD HH:MM:SS"; nothing when the
// text has another shape or names no real day or time.
std::optional<DateTime> parseDateText(std::string_view text);

// The text an export writes for a stored value: "YYYY-MM-DD" at midnight,
// the whole stored text otherwise (a value that is no stored date text is
// passed through unchanged).
std::string exportDateText(std::string_view stored);

// Converts an Access Date/Time value: whole days since 1899-12-30, and a
// fraction that is the time of day measured from midnight whatever the sign
// of the day number (-1.25 is 1899-12-29 06:00).  The time is rounded to the
// nearest second.  Nothing when the value falls outside years 1 to 9999 or
// is not a finite number.
std::optional<DateTime> dateTimeFromAccessDays(double value);

} // namespace rackbook
