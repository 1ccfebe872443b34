// Dates as the Access dialect writes them between number signs (#2008-12-21#,
// #2008/12/21 14:30#, #12/21/2008#), checked against the Gregorian calendar and
// turned into the text that Date/Time columns hold: 'YYYY-MM-DD HH:MM:SS'.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace mdblite {

// Number of days in `month` (1..12) of `year`, leap years counted the
// Gregorian way; 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// Reads the text between the two number signs of a date literal and returns
// it as 'YYYY-MM-DD HH:MM:SS' (year zero-padded to four digits), or nothing
// when it is not a date that exists.
//
// Accepted: YYYY-MM-DD, YYYY/MM/DD and M/D/YYYY (month first, as Access reads
// it), month and day with one or two digits, year 0001..9999 with four digits;
// optionally followed, after blanks, by a time H:MM or H:MM:SS (hours 0..23),
// or h:MM[:SS] AM/PM (hours 1..12). Blanks around the whole are ignored. A date
// without a time means midnight.
std::optional<std::string> parseAccessDate(std::string_view text);

} // namespace mdblite
