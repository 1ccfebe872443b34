// Reading ODBC connection strings.
#include "ConnectionString.h"

#include <cctype>

namespace mdblite {

namespace {

std::string trimmedUpper(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

std::map<std::string, std::string> parseConnectionString(std::string_view text) {
    std::map<std::string, std::string> pairs;
    size_t i = 0;
    while (i < text.size()) {
        size_t equals = text.find('=', i);
        size_t semicolon = text.find(';', i);
        if (equals == std::string_view::npos ||
            (semicolon != std::string_view::npos && semicolon < equals)) {
            // A piece without "=" carries nothing.
            if (semicolon == std::string_view::npos)
                break;
            i = semicolon + 1;
            continue;
        }
        std::string key = trimmedUpper(text.substr(i, equals - i));
        i = equals + 1;
        std::string value;
        if (i < text.size() && text[i] == '{') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '}') {
                    if (i + 1 < text.size() && text[i + 1] == '}') {
                        value += '}';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            size_t end = text.find(';', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else {
            size_t end = text.find(';', i);
            if (end == std::string_view::npos)
                end = text.size();
            value = std::string(text.substr(i, end - i));
            i = end + 1;
        }
        if (!key.empty())
            pairs.emplace(key, value);
    }
    return pairs;
}

} // namespace mdblite
