// Subcommand argument reading; see Arguments.h.
#include "commands/Arguments.h"

#include "ToolError.h"

#include <cctype>

namespace rackbook {

Arguments::Arguments(const std::string& command, const std::vector<std::string>& args,
                     const std::set<std::string>& valued, const std::set<std::string>& flags,
                     std::size_t minPositional, std::size_t maxPositional)
    : command_(command) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--" && !optionsEnded) { // what follows are names, even "--x"
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            positional_.push_back(word);
            continue;
        }
        std::string name = word;
        std::optional<std::string> inlineValue;
        auto equals = word.find('=');
        if (equals != std::string::npos) {
            name = word.substr(0, equals);
            inlineValue = word.substr(equals + 1);
        }
        if (valued.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw UsageError(command + ": " + name + " needs a value");
                inlineValue = args[++i];
            }
            if (values_.count(name))
                throw UsageError(command + ": " + name + " is given twice");
            values_[name] = *inlineValue;
        } else if (flags.count(name) && !inlineValue) {
            flags_.insert(name);
        } else {
            throw UsageError(command + ": unknown option " + word);
        }
    }
    if (positional_.size() < minPositional)
        throw UsageError(command + ": missing argument");
    if (positional_.size() > maxPositional)
        throw UsageError(command + ": too many arguments (\"" + positional_[maxPositional] + "\")");
}

std::optional<std::string> Arguments::value(const std::string& option) const {
    auto found = values_.find(option);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::uint64_t Arguments::number(const std::string& option, std::uint64_t fallback,
                                std::uint64_t min, std::uint64_t max) const {
    auto text = value(option);
    if (!text)
        return fallback;
    std::uint64_t result = 0;
    bool ok = !text->empty() && text->size() <= 19;
    for (char c : *text)
        ok = ok && std::isdigit(static_cast<unsigned char>(c));
    if (ok)
        result = std::stoull(*text);
    if (!ok || result < min || result > max)
        throw UsageError(command_ + ": " + option + " wants a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not \"" + *text +
                         "\"");
    return result;
}

} // namespace rackbook
