// Splits one Access-dialect SQL text into tokens for the dialect translator.
// The lexer knows every form that can enclose other characters ('strings',
// "quoted texts", [bracketed] and `back-quoted` names, #date# literals), so
// that the translator never takes a character inside one of them for SQL, and
// it refuses what SQLite would read differently from Access (comments, NUL
// bytes, SQLite's own parameter and escape forms).
#pragma once
#include <cstddef>
#include <string_view>

namespace mdblite {

enum class TokenKind {
    End,          // no text left
    Space,        // a run of blanks, tabs, line ends and form feeds
    Word,         // a bare name or keyword
    Number,       // a numeric literal, with whatever letters stick to it
    String,       // '...' with '' standing for an apostrophe
    QuotedText,   // "..." with "" standing for a quote: a text literal in Access
    BracketName,  // [name]
    BacktickName, // `name`
    DateLiteral,  // #...#
    Semicolon,    // ;
    Symbol,       // one operator or punctuation character
    Error,        // text that is refused; `problem` says why
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;         // raw text, delimiters included
    std::size_t offset = 0;        // byte offset of the token in the statement
    const char* problem = nullptr; // for TokenKind::Error
};

// A cursor over the statement. Copying it is cheap, which is how the
// translator looks ahead.
class AccessLexer {
public:
    explicit AccessLexer(std::string_view sql) : sql_(sql), nulAt_(sql.find('\0')) {}

    // The next token; End forever once the text is used up. An Error token
    // covers the rest of the text, so lexing always moves forward.
    Token next();

private:
    Token make(TokenKind kind, std::size_t start, std::size_t end);
    Token refuse(std::size_t start, const char* problem);
    // Scans a token enclosed by `close` whose doubled `close` stands for
    // itself when `doubling` holds; refuses it when the text ends first.
    Token enclosed(TokenKind kind, char close, bool doubling, const char* unterminated);

    std::string_view sql_;
    std::size_t nulAt_; // first NUL byte, or npos
    std::size_t pos_ = 0;
};

} // namespace mdblite
