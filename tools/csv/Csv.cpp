// RFC 4180 reader and writer; see Csv.h for the conventions.
#include "csv/Csv.h"

namespace rackbook {

namespace {

// Reads records one character at a time.  `pos` always points at the next
// unread character; `line` counts the line ends passed so far.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    CsvParseResult readAll() {
        CsvParseResult result;
        while (pos_ < text_.size()) {
            if (atLineEnd()) { // an empty line holds no record
                skipLineEnd();
                continue;
            }
            CsvRecord record;
            record.line = line_;
            std::string error;
            if (!readRecord(record, error)) {
                result.error = error;
                result.errorLine = record.line;
                return result;
            }
            result.records.push_back(std::move(record));
        }
        return result;
    }

private:
    bool atLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    void skipLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }

    // Reads fields up to and including the record's line end (or the end of
    // the text).
    bool readRecord(CsvRecord& record, std::string& error) {
        for (;;) {
            CsvField field;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                if (!readQuoted(field, error))
                    return false;
            } else {
                readBare(field);
            }
            record.fields.push_back(std::move(field));
            if (pos_ >= text_.size())
                return true;
            if (text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            skipLineEnd(); // readBare and readQuoted stop only at ',' or a line end
            return true;
        }
    }

    void readBare(CsvField& field) {
        std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd())
            ++pos_;
        field.text.assign(text_.substr(start, pos_ - start));
    }

    bool readQuoted(CsvField& field, std::string& error) {
        field.quoted = true;
        ++pos_; // opening quote
        for (;;) {
            if (pos_ >= text_.size()) {
                error = "a quoted field is not closed";
                return false;
            }
            char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field.text.push_back('"');
                    pos_ += 2;
                    continue;
                }
                ++pos_; // closing quote
                if (pos_ < text_.size() && text_[pos_] != ',' && !atLineEnd()) {
                    error = "text follows the closing quote of a field";
                    return false;
                }
                return true;
            }
            if (c == '\n' || c == '\r') {
                // A CRLF inside a field is kept as it was written.
                if (c == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
                    field.text.push_back('\r');
                    ++pos_;
                }
                ++line_;
            }
            field.text.push_back(text_[pos_]);
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

bool needsQuotes(std::string_view text) {
    if (text.empty())
        return false;
    if (text.find_first_of(",\"\r\n") != std::string_view::npos)
        return true;
    return text.front() == ' ' || text.back() == ' ' || text.front() == '\t' || text.back() == '\t';
}

} // namespace

CsvParseResult parseCsv(std::string_view text) {
    return CsvReader(text).readAll();
}

std::string formatCsvField(std::string_view text, bool forceQuotes) {
    if (!forceQuotes && !needsQuotes(text))
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string formatCsvRecord(const std::vector<std::optional<std::string>>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        if (values[i])
            out += formatCsvField(*values[i], values[i]->empty());
    }
    out += "\r\n";
    return out;
}

} // namespace rackbook
