// Reading ODBC connection strings: "KEY=value;KEY={value; with braces};".
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace mdblite {

// Keys in upper case mapped to their values; a later repeat of a key is ignored,
// as ODBC says. Values in braces keep their semicolons ("}}" is one "}").
std::map<std::string, std::string> parseConnectionString(std::string_view text);

} // namespace mdblite
