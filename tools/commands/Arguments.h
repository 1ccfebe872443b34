// The command line of one subcommand: its positional arguments and its
// options.  Each subcommand says which options it takes and whether they
// carry a value; anything else is a usage error.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace rackbook {

class Arguments {
public:
    // Reads `args` (the words after the subcommand).  `valued` lists the
    // options followed by a value ("--seed 7" or "--seed=7"), `flags` those
    // without; after "--" every word is positional.  Throws UsageError on
    // an unknown option, a missing value, or a positional count outside
    // [minPositional, maxPositional].
    Arguments(const std::string& command, const std::vector<std::string>& args,
              const std::set<std::string>& valued, const std::set<std::string>& flags,
              std::size_t minPositional, std::size_t maxPositional);

    const std::string& positional(std::size_t index) const { return positional_.at(index); }
    std::size_t positionalCount() const { return positional_.size(); }
    std::optional<std::string> value(const std::string& option) const;
    bool flag(const std::string& option) const { return flags_.count(option) > 0; }

    // The value of `option` as a whole number in [min, max]; `fallback` when
    // the option is absent.
    std::uint64_t number(const std::string& option, std::uint64_t fallback, std::uint64_t min,
                         std::uint64_t max) const;

private:
    std::string command_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
};

} // namespace rackbook
