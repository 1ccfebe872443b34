// Tokens of the Access SQL dialect; see AccessLexer.h.
#include "AccessLexer.h"

#include <cstring>

namespace mdblite {
namespace {

bool isSpace(unsigned char c) {
    // The white space that both Access and SQLite skip; SQLite rejects the
    // vertical tab, so it is not among them.
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool isWordStart(unsigned char c) {
    // Bytes of multi-byte UTF-8 characters belong to names, as SQLite has it.
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool isWordPart(unsigned char c) {
    return isWordStart(c) || isDigit(c);
}

bool isSymbol(unsigned char c) {
    return c != '\0' && std::strchr("()=<>!+-*/%|^~,.?", c);
}

} // namespace

Token AccessLexer::make(TokenKind kind, std::size_t start, std::size_t end) {
    pos_ = end;
    return Token{kind, sql_.substr(start, end - start), start, nullptr};
}

Token AccessLexer::refuse(std::size_t start, const char* problem) {
    pos_ = sql_.size();
    return Token{TokenKind::Error, sql_.substr(start), start, problem};
}

Token AccessLexer::enclosed(TokenKind kind, char close, bool doubling, const char* unterminated) {
    std::size_t start = pos_;
    std::size_t at = pos_ + 1;
    for (;;) {
        std::size_t found = sql_.find(close, at);
        if (found == std::string_view::npos) {
            return refuse(start, unterminated);
        }
        if (doubling && found + 1 < sql_.size() && sql_[found + 1] == close) {
            at = found + 2;
            continue;
        }
        return make(kind, start, found + 1);
    }
}

Token AccessLexer::next() {
    if (pos_ >= sql_.size()) {
        return Token{TokenKind::End, sql_.substr(sql_.size()), sql_.size(), nullptr};
    }
    // A NUL would end the statement early for SQLite, which then runs a
    // shorter statement than the one written; nowhere is it accepted.
    if (nulAt_ != std::string_view::npos) {
        return refuse(nulAt_, "the statement contains a NUL character");
    }
    std::size_t start = pos_;
    unsigned char c = static_cast<unsigned char>(sql_[start]);
    unsigned char following =
        start + 1 < sql_.size() ? static_cast<unsigned char>(sql_[start + 1]) : 0;
    std::size_t end = start + 1;

    if (isSpace(c)) {
        while (end < sql_.size() && isSpace(static_cast<unsigned char>(sql_[end]))) {
            ++end;
        }
        return make(TokenKind::Space, start, end);
    }
    if (isWordStart(c)) {
        while (end < sql_.size() && isWordPart(static_cast<unsigned char>(sql_[end]))) {
            ++end;
        }
        return make(TokenKind::Word, start, end);
    }
    if (isDigit(c)) {
        while (end < sql_.size() &&
               (isWordPart(static_cast<unsigned char>(sql_[end])) || sql_[end] == '.')) {
            ++end;
        }
        return make(TokenKind::Number, start, end);
    }
    switch (c) {
    case '\'':
        return enclosed(TokenKind::String, '\'', true, "unterminated text literal (missing ')");
    case '"':
        return enclosed(TokenKind::QuotedText, '"', true, "unterminated text literal (missing \")");
    case '[':
        return enclosed(TokenKind::BracketName, ']', false, "unterminated name (missing ])");
    case '`':
        return enclosed(TokenKind::BacktickName, '`', false, "unterminated name (missing `)");
    case '#':
        return enclosed(TokenKind::DateLiteral, '#', false,
                        "unterminated date literal (missing closing #)");
    case ';':
        return make(TokenKind::Semicolon, start, end);
    case ']':
        return refuse(start, "unmatched ]");
    default:
        break;
    }
    if ((c == '-' && following == '-') || (c == '/' && following == '*')) {
        return refuse(start, "comments are not part of Access SQL");
    }
    if (c == '?' && isDigit(following)) {
        return refuse(start, "a parameter marker is a single ?");
    }
    if (c == '&') {
        return refuse(start, "the & operator is not supported");
    }
    if (isSymbol(c)) {
        return make(TokenKind::Symbol, start, end);
    }
    return refuse(start, "unexpected character");
}

} // namespace mdblite
