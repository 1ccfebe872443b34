// Translation of one Access-dialect statement into SQLite SQL: a single pass
// over the tokens of AccessLexer that copies most of them unchanged and
// rewrites the few forms that differ; see AccessDialect.h for the list.
#include "AccessDialect.h"

#include "AccessDate.h"
#include "AccessLexer.h"

#include <optional>

namespace mdblite {
namespace {

const char* const kSyntaxError = "42000";
const char* const kBadDateTime = "22007";

// Longest piece of the statement quoted in a message.
constexpr std::size_t kQuoteLimit = 60;

bool equalsNoCase(std::string_view word, std::string_view upper) {
    if (word.size() != upper.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upper[i]) {
            return false;
        }
    }
    return true;
}

bool isKeyword(const Token& token, std::string_view upper) {
    return token.kind == TokenKind::Word && equalsNoCase(token.text, upper);
}

bool isSymbol(const Token& token, char c) {
    return token.kind == TokenKind::Symbol && token.text[0] == c;
}

// The body of an enclosed token with its doubled delimiters made single.
std::string unquote(std::string_view raw, char close) {
    std::string body;
    body.reserve(raw.size());
    for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        body += raw[i];
        if (raw[i] == close) {
            ++i; // the second of a doubled delimiter
        }
    }
    return body;
}

// `body` between `quote` characters, each `quote` inside doubled.
std::string enclose(std::string_view body, char quote) {
    std::string out(1, quote);
    for (char c : body) {
        out += c;
        if (c == quote) {
            out += quote;
        }
    }
    out += quote;
    return out;
}

// Length of the well-formed UTF-8 character at text[at], or 0 when the bytes
// there are not one (a stray continuation byte, an overlong form, a surrogate,
// a character past U+10FFFF, or a sequence cut short).
std::size_t utf8Length(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// A piece of the statement for a message: cut when long (between two
// characters), with control characters and bytes that are not UTF-8 shown as
// '?', so that the message stays one line that any client can decode.
std::string excerpt(std::string_view text) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size() && at < kQuoteLimit) {
        std::size_t length = utf8Length(text, at);
        unsigned char c = static_cast<unsigned char>(text[at]);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            out += '?';
            at += 1;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    if (at < text.size()) {
        out += "...";
    }
    return out;
}

// " (byte 0xNN)" for a control character, which the excerpt shows as '?'.
std::string byteCode(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
        return "";
    }
    const char* hex = "0123456789ABCDEF";
    return std::string(" (byte 0x") + hex[byte >> 4] + hex[byte & 0xF] + ")";
}

std::string position(const Token& token) {
    return " at position " + std::to_string(token.offset + 1);
}

Translation refusal(const char* sqlstate, std::string message) {
    Translation t;
    t.sqlstate = sqlstate;
    t.message = std::move(message);
    return t;
}

class Translator {
public:
    explicit Translator(std::string_view sql) : sql_(sql), lexer_(sql) {
        out_.reserve(sql.size() + 16);
    }

    Translation run();

private:
    // Each returns a refusal, or nothing when the token was taken.
    std::optional<Translation> take(const Token& token);
    std::optional<Translation> takeFirst(const Token& token);
    std::optional<Translation> takeWord(const Token& token);
    std::optional<Translation> takeTop(const Token& token, bool statementHead);
    std::optional<Translation> takeSemicolon(const Token& token);
    std::optional<Translation> takeDate(const Token& token);
    std::optional<Translation> takeName(const Token& token, char close);
    void dropDeleteStar();
    Token nextSignificant(AccessLexer& lexer);
    bool endsInSpace() const;
    void trimTrailingSpace();

    std::string_view sql_;
    AccessLexer lexer_;
    std::string out_;
    Token previous_;          // last token that was not white space
    bool started_ = false;    // the statement's first word has been seen
    bool selectHead_ = false; // just after SELECT [DISTINCT|ALL] of the statement
    int depth_ = 0;           // parentheses open
    std::string limit_;       // n of SELECT TOP n
    bool limitless_ = true;   // no LIMIT, UNION, INTERSECT or EXCEPT at depth 0
};

Translation Translator::run() {
    for (Token token = lexer_.next(); token.kind != TokenKind::End; token = lexer_.next()) {
        if (token.kind == TokenKind::Space) {
            out_ += token.text;
            continue;
        }
        if (token.kind == TokenKind::Error) {
            return refusal(kSyntaxError, std::string(token.problem) + position(token) + ": " +
                                             excerpt(token.text) + byteCode(token.text[0]));
        }
        if (token.kind == TokenKind::Semicolon) {
            if (auto refused = takeSemicolon(token)) {
                return *refused;
            }
            break;
        }
        std::optional<Translation> refused = started_ ? take(token) : takeFirst(token);
        if (refused) {
            return *refused;
        }
        previous_ = token;
    }
    if (!started_) {
        return refusal(kSyntaxError, "empty statement");
    }
    trimTrailingSpace();
    if (!limit_.empty()) {
        if (!limitless_) {
            return refusal(kSyntaxError,
                           "TOP is supported only in a SELECT without LIMIT, UNION, INTERSECT "
                           "or EXCEPT");
        }
        out_ += " LIMIT " + limit_;
    }
    Translation t;
    t.ok = true;
    t.sql = std::move(out_);
    return t;
}

std::optional<Translation> Translator::takeFirst(const Token& token) {
    static const char* const kStatements[] = {"SELECT", "INSERT", "UPDATE", "DELETE",
                                              "CREATE", "DROP",   "ALTER"};
    for (const char* keyword : kStatements) {
        if (isKeyword(token, keyword)) {
            started_ = true;
            selectHead_ = isKeyword(token, "SELECT");
            out_ += token.text;
            return std::nullopt;
        }
    }
    return refusal(kSyntaxError,
                   "a statement begins with SELECT, INSERT, UPDATE, DELETE, CREATE, DROP or "
                   "ALTER, not with: " +
                       excerpt(token.text));
}

std::optional<Translation> Translator::take(const Token& token) {
    bool wasSelectHead = selectHead_;
    selectHead_ = false;
    switch (token.kind) {
    case TokenKind::Word:
        if (wasSelectHead && (isKeyword(token, "DISTINCT") || isKeyword(token, "ALL"))) {
            selectHead_ = true;
            out_ += token.text;
            return std::nullopt;
        }
        if (isKeyword(token, "TOP")) {
            return takeTop(token, wasSelectHead);
        }
        return takeWord(token);
    case TokenKind::DateLiteral:
        return takeDate(token);
    case TokenKind::BracketName:
        return takeName(token, ']');
    case TokenKind::BacktickName:
        return takeName(token, '`');
    case TokenKind::QuotedText:
        out_ += enclose(unquote(token.text, '"'), '\'');
        return std::nullopt;
    case TokenKind::Symbol:
        if (isSymbol(token, '(')) {
            ++depth_;
        } else if (isSymbol(token, ')') && depth_ > 0) {
            --depth_;
        } else if (isSymbol(token, '*') && isKeyword(previous_, "DELETE")) {
            dropDeleteStar();
            return std::nullopt;
        }
        out_ += token.text;
        return std::nullopt;
    default:
        out_ += token.text;
        return std::nullopt;
    }
}

std::optional<Translation> Translator::takeWord(const Token& token) {
    bool qualified = isSymbol(previous_, '.'); // t.True is a column, not a constant
    if (!qualified && isKeyword(token, "TRUE")) {
        out_ += '1';
    } else if (!qualified && isKeyword(token, "FALSE")) {
        out_ += '0';
    } else {
        if (depth_ == 0 && (isKeyword(token, "LIMIT") || isKeyword(token, "UNION") ||
                            isKeyword(token, "INTERSECT") || isKeyword(token, "EXCEPT"))) {
            limitless_ = false;
        }
        out_ += token.text;
    }
    return std::nullopt;
}

// TOP n right after the statement's own SELECT [DISTINCT|ALL] becomes LIMIT n
// at the end. After any other SELECT (a sub-select, INSERT ... SELECT), or as
// TOP n PERCENT, it is refused rather than guessed at; elsewhere the word is
// an ordinary name.
std::optional<Translation> Translator::takeTop(const Token& token, bool statementHead) {
    bool afterSelectHead = isKeyword(previous_, "SELECT") || isKeyword(previous_, "DISTINCT") ||
                           isKeyword(previous_, "ALL");
    if (!afterSelectHead) {
        return takeWord(token);
    }
    AccessLexer ahead = lexer_;
    Token space = ahead.next();
    Token count = ahead.next();
    bool digitsOnly = count.kind == TokenKind::Number &&
                      count.text.find_first_not_of("0123456789") == std::string_view::npos;
    AccessLexer afterCount = ahead;
    if (!statementHead || space.kind != TokenKind::Space || !digitsOnly ||
        isKeyword(nextSignificant(ahead), "PERCENT")) {
        return refusal(kSyntaxError,
                       "TOP is supported only as SELECT [DISTINCT] TOP n at the start of the "
                       "statement" +
                           position(token));
    }
    limit_ = std::string(count.text);
    // Drop TOP, the count and the white space after it: "SELECT TOP 5 *" gives "SELECT *".
    lexer_ = afterCount;
    AccessLexer skipSpace = lexer_;
    if (skipSpace.next().kind == TokenKind::Space) {
        lexer_ = skipSpace;
    }
    return std::nullopt;
}

// Only white space may follow the semicolon that ends the statement.
std::optional<Translation> Translator::takeSemicolon(const Token& token) {
    Token after = nextSignificant(lexer_);
    if (after.kind != TokenKind::End) {
        return refusal(kSyntaxError, "only one statement is accepted; text follows the ;" +
                                         position(token) + ": " +
                                         excerpt(sql_.substr(after.offset)));
    }
    return std::nullopt;
}

std::optional<Translation> Translator::takeDate(const Token& token) {
    std::string_view body = token.text.substr(1, token.text.size() - 2);
    std::optional<std::string> date = parseAccessDate(body);
    if (!date) {
        return refusal(kBadDateTime,
                       "invalid date " + excerpt(token.text) + position(token) +
                           ": a date is written #YYYY-MM-DD#, #YYYY/MM/DD# or #M/D/YYYY#, "
                           "optionally with a time HH:MM[:SS], and must exist in the calendar");
    }
    out_ += '\'';
    out_ += *date;
    out_ += '\'';
    return std::nullopt;
}

// [name] and `name` become SQLite's "name".
std::optional<Translation> Translator::takeName(const Token& token, char close) {
    std::string body = unquote(token.text, close);
    if (body.empty()) {
        return refusal(kSyntaxError, "empty name " + std::string(token.text) + position(token));
    }
    out_ += enclose(body, '"');
    return std::nullopt;
}

// Access's DELETE * FROM is SQLite's DELETE FROM: the * goes, and exactly one
// blank stays between the two words.
void Translator::dropDeleteStar() {
    AccessLexer ahead = lexer_;
    bool spaceFollows = ahead.next().kind == TokenKind::Space;
    if (endsInSpace() && spaceFollows) {
        lexer_ = ahead;
    } else if (!endsInSpace() && !spaceFollows) {
        out_ += ' ';
    }
}

Token Translator::nextSignificant(AccessLexer& lexer) {
    Token token = lexer.next();
    while (token.kind == TokenKind::Space) {
        token = lexer.next();
    }
    return token;
}

bool Translator::endsInSpace() const {
    return !out_.empty() && (out_.back() == ' ' || out_.back() == '\t' || out_.back() == '\n' ||
                             out_.back() == '\r' || out_.back() == '\f');
}

void Translator::trimTrailingSpace() {
    while (endsInSpace()) {
        out_.pop_back();
    }
}

} // namespace

Translation translateAccessSql(std::string_view accessSql) {
    return Translator(accessSql).run();
}

} // namespace mdblite
