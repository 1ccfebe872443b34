// driver/dialect/AccessDialect.h
#pragma once
#include <string>
#include <string_view>
namespace mdblite {
struct Translation {
    bool ok = false;
    std::string sql;       // SQLite SQL when ok
    std::string sqlstate;  // e.g. "22007", "42000" when !ok
    std::string message;   // cause, when !ok
};
// Translates one Access-dialect statement into SQLite SQL. Refuses more than one statement.
Translation translateAccessSql(std::string_view accessSql);
}  // namespace mdblite
