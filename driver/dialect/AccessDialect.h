// The Access SQL dialect that mdblite accepts, translated into the SQLite SQL
// that runs it. A pure function of the statement text: no database, no state.
//
// What changes on the way:
//   #2008-12-21#, #2008/12/21 14:30#, #12/21/2008#  -> '2008-12-21 00:00:00', ...
//                                 (checked against the calendar; else 22007)
//   [Some Name]                   -> "Some Name"    (a name)
//   "some text"                   -> 'some text'    (in Access a text literal)
//   TRUE / FALSE                  -> 1 / 0
//   SELECT [DISTINCT] TOP n ...   -> SELECT [DISTINCT] ... LIMIT n
//   DELETE * FROM ...             -> DELETE FROM ...
//   a trailing ;                  -> dropped
// Everything else ('texts', names, keywords, operators, LIKE patterns) is
// kept byte for byte. Refused with 42000: more than one statement, comments,
// unterminated texts, names or dates, an empty statement, and any statement
// that does not begin with SELECT, INSERT, UPDATE, DELETE, CREATE, DROP or
// ALTER (so nothing reaches SQLite that could attach or write other files).
#pragma once
#include <string>
#include <string_view>

namespace mdblite {

struct Translation {
    bool ok = false;
    std::string sql;      // SQLite SQL when ok
    std::string sqlstate; // e.g. "22007", "42000" when !ok
    std::string message;  // cause, when !ok
};

// Translates one Access-dialect statement into SQLite SQL. Refuses more than one statement.
// Runs in time linear in the length of the text.
Translation translateAccessSql(std::string_view accessSql);

} // namespace mdblite
