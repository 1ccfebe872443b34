// CSV reading and writing (RFC 4180) for the import and export commands.
// Pure functions on texts: no files, no database.  A field that was quoted
// is told apart from a bare one, so that an empty quoted field ("") can mean
// an empty text while a bare empty field means NULL.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rackbook {

struct CsvField {
    std::string text;
    bool quoted = false;
};

struct CsvRecord {
    std::size_t line = 0; // line of the text on which the record starts, from 1
    std::vector<CsvField> fields;
};

struct CsvParseResult {
    std::vector<CsvRecord> records;
    std::string error;         // empty when the whole text was read
    std::size_t errorLine = 0; // line of the record that could not be read
    bool ok() const { return error.empty(); }
};

// Splits `text` into records.  Accepts CRLF, LF and lone CR line ends, quoted
// fields with doubled quotes, embedded separators and line breaks, and a
// leading UTF-8 byte order mark.  Lines that are entirely empty are skipped.
// On a malformed record (an unterminated quote, text after a closing quote)
// `error` says what is wrong and the records before it are kept.
CsvParseResult parseCsv(std::string_view text);

// One field as written: quoted when it holds a separator, a quote, a line
// break or a leading/trailing blank, or when `forceQuotes` is set.
std::string formatCsvField(std::string_view text, bool forceQuotes = false);

// One record with its CRLF line end.  A missing value (NULL) is written as a
// bare empty field, an empty text as "".
std::string formatCsvRecord(const std::vector<std::optional<std::string>>& values);

} // namespace rackbook
