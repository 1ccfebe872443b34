// Calendar arithmetic and date texts; see DateText.h.
#include "schema/DateText.h"

#include <cmath>
#include <cstdio>

namespace rackbook {

namespace {

// Reads exactly `width` decimal digits at `pos`.
bool readDigits(std::string_view text, std::size_t pos, std::size_t width, int& value) {
    if (pos + width > text.size())
        return false;
    value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[month - 1];
}

bool isValidDateTime(const DateTime& v) {
    if (v.year < 1 || v.year > 9999 || v.month < 1 || v.month > 12)
        return false;
    if (v.day < 1 || v.day > daysInMonth(v.year, v.month))
        return false;
    return v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 && v.second >= 0 &&
           v.second < 60;
}

// Howard Hinnant's days_from_civil: eras of 400 years keep it exact for
// every year, including those before the common era's first.
std::int64_t daysFromCivil(int year, int month, int day) {
    std::int64_t y = year - (month <= 2 ? 1 : 0);
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t mp = (month + 9) % 12;
    std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateTime civilFromDays(std::int64_t days) {
    days += 719468;
    std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    std::int64_t doe = days - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    DateTime out;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    return out;
}

std::string formatStoredDateTime(const DateTime& v) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month, v.day,
                  v.hour, v.minute, v.second);
    return text;
}

std::optional<DateTime> parseDateText(std::string_view text) {
    DateTime v;
    if (text.size() != 10 && text.size() != 19)
        return std::nullopt;
    if (!readDigits(text, 0, 4, v.year) || text[4] != '-' || !readDigits(text, 5, 2, v.month) ||
        text[7] != '-' || !readDigits(text, 8, 2, v.day))
        return std::nullopt;
    if (text.size() == 19) {
        if (text[10] != ' ' || !readDigits(text, 11, 2, v.hour) || text[13] != ':' ||
            !readDigits(text, 14, 2, v.minute) || text[16] != ':' ||
            !readDigits(text, 17, 2, v.second))
            return std::nullopt;
    }
    if (!isValidDateTime(v))
        return std::nullopt;
    return v;
}

std::string exportDateText(std::string_view stored) {
    auto value = parseDateText(stored);
    if (value && stored.size() == 19 && value->hour == 0 && value->minute == 0 &&
        value->second == 0)
        return std::string(stored.substr(0, 10));
    return std::string(stored);
}

std::optional<DateTime> dateTimeFromAccessDays(double value) {
    // Years 1 to 9999 lie within about +-3.7 million days of the epoch.
    if (!std::isfinite(value) || std::fabs(value) > 4.0e6)
        return std::nullopt;
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    std::int64_t day = static_cast<std::int64_t>(whole);
    auto seconds = static_cast<std::int64_t>(std::llround(fraction * 86400.0));
    if (seconds >= 86400) { // rounding reached the next midnight
        seconds -= 86400;
        day += 1;
    }
    DateTime out = civilFromDays(daysFromCivil(1899, 12, 30) + day);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    if (!isValidDateTime(out))
        return std::nullopt;
    return out;
}

} // namespace rackbook
