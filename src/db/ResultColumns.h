// Running a statement and reading its result set as text: every result
// column bound as character data into its own 256-byte buffer with a length
// indicator, NULL told apart from the empty text.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

// SQLExecDirect with the text's length in bytes.
SQLRETURN executeStatement(SQLHSTMT statement, const std::string& text);

// The number of result columns; 0 also when the call itself fails.
int resultColumnCount(SQLHSTMT statement);

// The result columns 1..count of a statement, bound for fetching.  The
// buffers stay where they are for the object's life, so it can be neither
// copied nor moved.
class ResultColumns {
public:
    static constexpr int kBufferSize = 256;

    ResultColumns(SQLHSTMT statement, int count);
    // Unbinds the buffers, so that a later statement on the same handle
    // cannot write into freed memory.
    ~ResultColumns();
    ResultColumns(const ResultColumns&) = delete;
    ResultColumns& operator=(const ResultColumns&) = delete;

    // Fetches the next row; false when the fetch returned anything but
    // SQL_SUCCESS or SQL_SUCCESS_WITH_INFO (no more rows, or an error).
    bool fetch();

    int count() const { return static_cast<int>(buffers_.size()); }
    // `index` is 0-based: result column index + 1.
    bool isNull(int index) const;
    std::string text(int index) const; // the empty text for NULL
    // The same text without a copy; valid until the next fetch.
    std::string_view view(int index) const;

private:
    SQLHSTMT statement_;
    std::vector<std::array<char, kBufferSize>> buffers_;
    std::vector<SQLLEN> indicators_;
};

// The first 10 characters of a text (all of it when shorter): the date of a
// Date/Time value fetched as YYYY-MM-DD HH:MM:SS.
std::string datePart(const std::string& text);

// Index (0-based) of the "Dates_ID" entry among `columnNames`, or -1.
int dateColumnIndex(const std::vector<std::string>& columnNames);
