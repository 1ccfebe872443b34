// Reading and checking the dates of #...# literals; see AccessDate.h.
#include "AccessDate.h"

#include <cstdio>

namespace mdblite {
namespace {

// A cursor over the literal's text; every reader either consumes what it
// recognises and returns true, or returns false (the caller then gives up on
// the whole literal, so a half-consumed cursor is never reused).
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }

    // Reads minDigits..maxDigits ASCII digits as a number.
    bool number(int minDigits, int maxDigits, int& value) {
        int count = 0;
        value = 0;
        while (count < maxDigits && pos_ < text_.size() && isDigit(text_[pos_])) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++count;
        }
        // More digits than allowed (a 5-digit year) is not a shorter number.
        if (pos_ < text_.size() && isDigit(text_[pos_])) {
            return false;
        }
        return count >= minDigits;
    }

    bool skip(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // Skips blanks and tabs; returns whether there was at least one.
    bool blanks() {
        std::size_t start = pos_;
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
        return pos_ > start;
    }

    // Reads "AM" or "PM" in any case; `pm` tells which.
    bool meridiem(bool& pm) {
        if (text_.size() - pos_ < 2) {
            return false;
        }
        char first = static_cast<char>(text_[pos_] | 0x20);
        char second = static_cast<char>(text_[pos_ + 1] | 0x20);
        if ((first != 'a' && first != 'p') || second != 'm') {
            return false;
        }
        pm = first == 'p';
        pos_ += 2;
        return true;
    }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// YYYY-MM-DD or YYYY/MM/DD (one separator throughout), or M/D/YYYY.
bool readDate(Reader& in, DateTime& dt) {
    Reader saved = in;
    int first = 0;
    if (in.number(4, 4, first)) {
        char sep = in.peek();
        if (sep != '-' && sep != '/') {
            return false;
        }
        dt.year = first;
        return in.skip(sep) && in.number(1, 2, dt.month) && in.skip(sep) && in.number(1, 2, dt.day);
    }
    in = saved;
    return in.number(1, 2, dt.month) && in.skip('/') && in.number(1, 2, dt.day) && in.skip('/') &&
           in.number(4, 4, dt.year);
}

// H:MM or H:MM:SS, then optionally AM or PM (with or without a blank before).
bool readTime(Reader& in, DateTime& dt) {
    if (!in.number(1, 2, dt.hour) || !in.skip(':') || !in.number(2, 2, dt.minute)) {
        return false;
    }
    if (in.skip(':') && !in.number(2, 2, dt.second)) {
        return false;
    }
    Reader beforeMeridiem = in;
    in.blanks();
    bool pm = false;
    if (!in.meridiem(pm)) {
        in = beforeMeridiem;
        return dt.hour <= 23;
    }
    if (dt.hour < 1 || dt.hour > 12) {
        return false;
    }
    dt.hour = dt.hour % 12 + (pm ? 12 : 0);
    return true;
}

bool existsInCalendar(const DateTime& dt) {
    return dt.year >= 1 && dt.year <= 9999 && dt.month >= 1 && dt.month <= 12 && dt.day >= 1 &&
           dt.day <= daysInMonth(dt.year, dt.month) && dt.minute <= 59 && dt.second <= 59;
}

} // namespace

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<std::string> parseAccessDate(std::string_view text) {
    Reader in(text);
    DateTime dt;
    in.blanks();
    if (!readDate(in, dt)) {
        return std::nullopt;
    }
    if (in.blanks() && !in.atEnd() && !readTime(in, dt)) {
        return std::nullopt;
    }
    in.blanks();
    if (!in.atEnd() || !existsInCalendar(dt)) {
        return std::nullopt;
    }
    char out[32];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second);
    return std::string(out);
}

} // namespace mdblite
