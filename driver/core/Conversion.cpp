// Conversions of row values into C types.
#include "Conversion.h"

#include "Diagnostics.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace mdblite {

namespace {

SQLRETURN nullValue(const CTarget& target, PieceState* piece, Diagnostics& diag) {
    if (piece) {
        if (piece->done)
            return SQL_NO_DATA;
        piece->done = true;
    }
    if (!target.indicator)
        return diag.error("22002", "Indicator variable required but not supplied (NULL value)");
    *target.indicator = SQL_NULL_DATA;
    return SQL_SUCCESS;
}

// Copies the bytes of `value` from the piece offset on; `terminator` is the size
// of the terminating NUL of the C type (0 for binary).
SQLRETURN copyBytes(const char* value, size_t length, size_t terminator, const CTarget& target,
                    PieceState* piece, Diagnostics& diag) {
    size_t offset = 0;
    if (piece) {
        if (piece->done)
            return SQL_NO_DATA;
        offset = piece->offset;
    }
    const size_t remaining = length - offset;
    if (target.indicator)
        *target.indicator = static_cast<SQLLEN>(remaining);
    const size_t capacity = target.capacity > 0 ? static_cast<size_t>(target.capacity) : 0;
    if (!target.data) {
        // Only the length was asked for; nothing is consumed.
        return SQL_SUCCESS;
    }
    if (remaining + terminator <= capacity) {
        std::memcpy(target.data, value + offset, remaining);
        if (terminator)
            std::memset(static_cast<char*>(target.data) + remaining, 0, terminator);
        if (piece)
            piece->done = true;
        return SQL_SUCCESS;
    }
    size_t fits = capacity >= terminator ? capacity - terminator : 0;
    fits -= fits % (terminator ? terminator : 1); // whole characters for wide text
    std::memcpy(target.data, value + offset, fits);
    if (terminator && capacity >= terminator)
        std::memset(static_cast<char*>(target.data) + fits, 0, terminator);
    if (piece)
        piece->offset += fits;
    return diag.warning("01004", "String data, right truncated (the value has " +
                                     std::to_string(remaining) + " bytes, the buffer " +
                                     std::to_string(capacity) + ")");
}

template <typename T> SQLRETURN storeFixed(T value, const CTarget& target, PieceState* piece) {
    if (piece) {
        if (piece->done)
            return SQL_NO_DATA;
        piece->done = true;
    }
    if (target.data)
        std::memcpy(target.data, &value, sizeof value);
    if (target.indicator)
        *target.indicator = sizeof value;
    return SQL_SUCCESS;
}

std::string hexOf(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A number read from a value: exact integer when possible.
struct Number {
    bool ok = false;
    bool isInteger = false;
    std::int64_t integer = 0;
    double real = 0;
};

Number numberOf(const ResultSet& rows, int col) {
    Number n;
    switch (rows.kind(col)) {
    case ValueKind::Integer:
        n.ok = n.isInteger = true;
        n.integer = rows.integer(col);
        n.real = static_cast<double>(n.integer);
        return n;
    case ValueKind::Real:
        n.ok = true;
        n.real = rows.real(col);
        return n;
    case ValueKind::Text: {
        std::string text(trimmed(rows.text(col)));
        if (text.empty())
            return n;
        char* end = nullptr;
        errno = 0;
        long long asInteger = std::strtoll(text.c_str(), &end, 10);
        if (*end == '\0' && errno == 0) {
            n.ok = n.isInteger = true;
            n.integer = asInteger;
            n.real = static_cast<double>(asInteger);
            return n;
        }
        double asReal = std::strtod(text.c_str(), &end);
        if (*end == '\0' && std::isfinite(asReal)) {
            n.ok = true;
            n.real = asReal;
        }
        return n;
    }
    default:
        return n;
    }
}

template <typename T>
SQLRETURN storeInteger(const ResultSet& rows, int col, const CTarget& target, PieceState* piece,
                       Diagnostics& diag) {
    Number n = numberOf(rows, col);
    if (!n.ok)
        return diag.error("22018", "Invalid character value for the conversion (the value '" +
                                       std::string(rows.text(col)) + "' is not a number)");
    SQLRETURN rc = SQL_SUCCESS;
    std::int64_t whole = n.integer;
    if (!n.isInteger) {
        double truncated = std::trunc(n.real);
        if (truncated < -9.2e18 || truncated > 9.2e18)
            return diag.error("22003", "Numeric value out of range");
        whole = static_cast<std::int64_t>(truncated);
        if (truncated != n.real)
            rc = diag.warning("01S07", "Fractional truncation");
    }
    using Limits = std::numeric_limits<T>;
    if (whole < static_cast<std::int64_t>(Limits::min()) ||
        (whole > 0 &&
         static_cast<std::uint64_t>(whole) > static_cast<std::uint64_t>(Limits::max())))
        return diag.error("22003", "Numeric value out of range (" + std::to_string(whole) + ")");
    return combineResults(rc, storeFixed(static_cast<T>(whole), target, piece));
}

template <typename T>
SQLRETURN storeReal(const ResultSet& rows, int col, const CTarget& target, PieceState* piece,
                    Diagnostics& diag) {
    Number n = numberOf(rows, col);
    if (!n.ok)
        return diag.error("22018", "Invalid character value for the conversion (the value '" +
                                       std::string(rows.text(col)) + "' is not a number)");
    return storeFixed(static_cast<T>(n.real), target, piece);
}

SQLRETURN storeBit(const ResultSet& rows, int col, const CTarget& target, PieceState* piece,
                   Diagnostics& diag) {
    Number n = numberOf(rows, col);
    if (!n.ok)
        return diag.error("22018", "Invalid character value for the conversion");
    if (n.real < 0 || n.real >= 2)
        return diag.error("22003", "Numeric value out of range for a bit");
    return storeFixed(static_cast<unsigned char>(n.real >= 1 ? 1 : 0), target, piece);
}

SQLRETURN storeDateTime(const ResultSet& rows, int col, SQLSMALLINT cType, const CTarget& target,
                        PieceState* piece, Diagnostics& diag) {
    SQL_TIMESTAMP_STRUCT ts{};
    std::string_view text = rows.kind(col) == ValueKind::Text ? rows.text(col) : "";
    if (!parseTimestamp(trimmed(text), ts))
        return diag.error("22018", "Invalid character value for the conversion (the value '" +
                                       std::string(rows.text(col)) + "' is not a date)");
    if (cType == SQL_C_TYPE_DATE || cType == SQL_C_DATE) {
        SQL_DATE_STRUCT date{ts.year, ts.month, ts.day};
        SQLRETURN rc = SQL_SUCCESS;
        if (ts.hour || ts.minute || ts.second || ts.fraction)
            rc = diag.warning("01S07", "Fractional truncation (the time of day is dropped)");
        return combineResults(rc, storeFixed(date, target, piece));
    }
    if (cType == SQL_C_TYPE_TIME || cType == SQL_C_TIME) {
        SQL_TIME_STRUCT time{ts.hour, ts.minute, ts.second};
        return storeFixed(time, target, piece);
    }
    return storeFixed(ts, target, piece);
}

SQLRETURN storeText(const ResultSet& rows, int col, const CTarget& target, PieceState* piece,
                    Diagnostics& diag) {
    if (rows.kind(col) == ValueKind::Blob) {
        std::string hex = hexOf(rows.text(col));
        return copyBytes(hex.data(), hex.size(), 1, target, piece, diag);
    }
    std::string_view text = rows.text(col);
    return copyBytes(text.data(), text.size(), 1, target, piece, diag);
}

SQLRETURN storeWideText(const ResultSet& rows, int col, const CTarget& target, PieceState* piece,
                        Diagnostics& diag) {
    std::basic_string<SQLWCHAR> wide = utf8ToUtf16(rows.text(col));
    return copyBytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(SQLWCHAR),
                     sizeof(SQLWCHAR), target, piece, diag);
}

int twoDigits(std::string_view text, size_t at) {
    if (at + 2 > text.size() || !std::isdigit(static_cast<unsigned char>(text[at])) ||
        !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return -1;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

} // namespace

bool parseTimestamp(std::string_view text, SQL_TIMESTAMP_STRUCT& out) {
    if (text.size() < 10)
        return false;
    int c1 = twoDigits(text, 0), c2 = twoDigits(text, 2);
    char sep = text[4];
    if (c1 < 0 || c2 < 0 || (sep != '-' && sep != '/') || text[7] != sep)
        return false;
    int year = c1 * 100 + c2;
    int month = twoDigits(text, 5);
    int day = twoDigits(text, 8);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    int hour = 0, minute = 0, second = 0;
    SQLUINTEGER fraction = 0;
    if (text.size() > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || text.size() < 19 || text[13] != ':' ||
            text[16] != ':')
            return false;
        hour = twoDigits(text, 11);
        minute = twoDigits(text, 14);
        second = twoDigits(text, 17);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
            return false;
        if (text.size() > 19) {
            if (text[19] != '.' || text.size() == 20)
                return false;
            SQLUINTEGER scale = 100000000; // fraction counts nanoseconds
            for (size_t i = 20; i < text.size(); ++i) {
                if (!std::isdigit(static_cast<unsigned char>(text[i])))
                    return false;
                fraction += static_cast<SQLUINTEGER>(text[i] - '0') * scale;
                scale /= 10;
            }
        }
    }
    out.year = static_cast<SQLSMALLINT>(year);
    out.month = static_cast<SQLUSMALLINT>(month);
    out.day = static_cast<SQLUSMALLINT>(day);
    out.hour = static_cast<SQLUSMALLINT>(hour);
    out.minute = static_cast<SQLUSMALLINT>(minute);
    out.second = static_cast<SQLUSMALLINT>(second);
    out.fraction = fraction;
    return true;
}

std::basic_string<SQLWCHAR> utf8ToUtf16(std::string_view text) {
    std::basic_string<SQLWCHAR> out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::uint32_t code = 0xFFFD;
        size_t extra = 0;
        if (c < 0x80) {
            code = c;
        } else if ((c & 0xE0) == 0xC0) {
            code = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            code = c & 0x07;
            extra = 3;
        }
        ++i;
        for (size_t k = 0; k < extra; ++k, ++i) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                code = 0xFFFD;
                break;
            }
            code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<SQLWCHAR>(0xD800 + (code >> 10));
            out += static_cast<SQLWCHAR>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<SQLWCHAR>(code);
        }
    }
    return out;
}

std::string utf16ToUtf8(const SQLWCHAR* text, size_t units) {
    std::string out;
    out.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

SQLRETURN convertValue(const ResultSet& rows, int col, SQLSMALLINT sqlType, const CTarget& target,
                       PieceState* piece, Diagnostics& diag) {
    SQLSMALLINT cType = target.cType == SQL_C_DEFAULT ? defaultCType(sqlType) : target.cType;
    // Texts into character buffers are nearly every conversion the program makes:
    // one SQLite call per value. (Only columns declared binary show blobs in hex.)
    if (cType == SQL_C_CHAR && sqlType != SQL_LONGVARBINARY) {
        std::string_view text;
        if (!rows.textUnlessNull(col, text))
            return nullValue(target, piece, diag);
        return copyBytes(text.data(), text.size(), 1, target, piece, diag);
    }
    if (rows.kind(col) == ValueKind::Null)
        return nullValue(target, piece, diag);
    switch (cType) {
    case SQL_C_CHAR:
        return storeText(rows, col, target, piece, diag);
    case SQL_C_WCHAR:
        return storeWideText(rows, col, target, piece, diag);
    case SQL_C_BINARY: {
        std::string_view bytes = rows.text(col);
        return copyBytes(bytes.data(), bytes.size(), 0, target, piece, diag);
    }
    case SQL_C_SLONG:
    case SQL_C_LONG:
        return storeInteger<SQLINTEGER>(rows, col, target, piece, diag);
    case SQL_C_ULONG:
        return storeInteger<SQLUINTEGER>(rows, col, target, piece, diag);
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
        return storeInteger<SQLSMALLINT>(rows, col, target, piece, diag);
    case SQL_C_USHORT:
        return storeInteger<SQLUSMALLINT>(rows, col, target, piece, diag);
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
        return storeInteger<SQLSCHAR>(rows, col, target, piece, diag);
    case SQL_C_UTINYINT:
        return storeInteger<SQLCHAR>(rows, col, target, piece, diag);
    case SQL_C_SBIGINT:
        return storeInteger<SQLBIGINT>(rows, col, target, piece, diag);
    case SQL_C_UBIGINT:
        return storeInteger<SQLUBIGINT>(rows, col, target, piece, diag);
    case SQL_C_BIT:
        return storeBit(rows, col, target, piece, diag);
    case SQL_C_DOUBLE:
        return storeReal<SQLDOUBLE>(rows, col, target, piece, diag);
    case SQL_C_FLOAT:
        return storeReal<SQLREAL>(rows, col, target, piece, diag);
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP:
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE:
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME:
        return storeDateTime(rows, col, cType, target, piece, diag);
    default:
        return diag.error("07006", "Restricted data type attribute violation (C type " +
                                       std::to_string(cType) + " is not supported)");
    }
}

} // namespace mdblite
