// libFuzzer target for the Access dialect translator. Besides the sanitizers'
// findings it stops on any broken promise of translateAccessSql:
//  - a refusal carries 42000 or 22007, a message of well-formed UTF-8 without
//    control characters, and no SQL;
//  - a translation holds no NUL, and outside its 'texts' and "names" no ';'
//    and no comment opener: it is one statement, whole;
//  - when SQLite compiles the translation, nothing is left after the first
//    statement, and there is a first statement;
//  - a statement without any of the forms that are rewritten comes out as it
//    went in (less white space at its end).
#include "AccessDialect.h"

#include <sqlite3.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void broken(const char* promise, std::string_view input, const std::string& output) {
    std::fprintf(stderr, "broken promise: %s\ninput:  %.*s\noutput: %s\n", promise,
                 static_cast<int>(input.size()), input.data(), output.c_str());
    std::abort();
}

// Whether `sql` has a ';', "--" or "/*" outside its quoted parts.
bool splitsOrComments(const std::string& sql) {
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (quote) {
            if (c == quote) {
                quote = 0; // a doubled quote reopens at once on the next character
            }
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            return true;
        } else if (i + 1 < sql.size() &&
                   ((c == '-' && sql[i + 1] == '-') || (c == '/' && sql[i + 1] == '*'))) {
            return true;
        }
    }
    return false;
}

// An in-memory database with the program's table, so that most translations
// compile; it lives as long as the fuzzing process.
sqlite3* database() {
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK ||
            sqlite3_exec(opened,
                         "CREATE TABLE StockTable (Index_ID TEXT(255) PRIMARY KEY NOT NULL, "
                         "Rack TEXT, Box TEXT, Position TEXT, Strain TEXT, Plasmid TEXT, "
                         "Subunit TEXT, Mutation TEXT, Antibiotic TEXT, Dates_ID DATETIME, "
                         "Comments MEMO)",
                         nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::abort();
        }
        return opened;
    }();
    return db;
}

// Whether `text` is well-formed UTF-8 without control characters, judged by
// the C library's own decoder.
bool readableUtf8(const std::string& text) {
    static const bool localeSet = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;
    if (!localeSet) {
        std::abort();
    }
    std::mbstate_t state{};
    const char* at = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        wchar_t wide = 0;
        std::size_t used = std::mbrtowc(&wide, at, left, &state);
        if (used == 0 || used > left || wide < 0x20 || wide == 0x7F) {
            return false; // invalid (-1), cut short (-2), NUL, or a control character
        }
        at += used;
        left -= used;
    }
    return true;
}

bool onlySpace(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r' && *text != '\f') {
            return false;
        }
    }
    return true;
}

// Whether `input` may hold a form that the translator rewrites: a literal,
// name or ';' that it changes, or one of the words TRUE, FALSE, TOP, DELETE.
bool mayBeRewritten(std::string_view input) {
    if (input.find_first_of("#[]`\";") != std::string_view::npos) {
        return true;
    }
    std::string lower(input);
    for (char& c : lower) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const char* word : {"true", "false", "top", "delete"}) {
        if (lower.find(word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string_view withoutTrailingSpace(std::string_view text) {
    std::size_t end = text.find_last_not_of(" \t\n\r\f");
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void checkWithSqlite(std::string_view input, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc =
        sqlite3_prepare_v2(database(), sql.c_str(), static_cast<int>(sql.size()) + 1, &stmt, &tail);
    if (rc != SQLITE_OK) {
        return; // not valid SQL for this schema: the database refuses it at run time
    }
    bool empty = stmt == nullptr;
    sqlite3_finalize(stmt);
    if (empty) {
        broken("an accepted statement is empty", input, sql);
    }
    if (tail && !onlySpace(tail)) {
        broken("text follows the first statement", input, sql);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    mdblite::Translation t = mdblite::translateAccessSql(input);
    if (!t.ok) {
        if ((t.sqlstate != "42000" && t.sqlstate != "22007") || t.message.empty() ||
            !readableUtf8(t.message) || !t.sql.empty()) {
            broken("a refusal has state 42000 or 22007, a message and no SQL", input,
                   t.sqlstate + " " + t.message);
        }
        return 0;
    }
    if (!t.sqlstate.empty() || !t.message.empty()) {
        broken("a translation has no state and no message", input, t.sql);
    }
    if (t.sql.find('\0') != std::string::npos) {
        broken("a translation holds no NUL", input, t.sql);
    }
    if (splitsOrComments(t.sql)) {
        broken("a translation has no ';' or comment outside its quotes", input, t.sql);
    }
    if (!mayBeRewritten(input) && t.sql != withoutTrailingSpace(input)) {
        broken("a statement without rewritten forms is kept", input, t.sql);
    }
    checkWithSqlite(input, t.sql);
    return 0;
}
