// Reading a subcommand's words into positionals, option values and flags.
#include "commands/Arguments.h"
#include "ToolError.h"

#include <gtest/gtest.h>

using namespace rackbook;

namespace {

// "p:a,b v:--seed=7 f:--replace", or "!" and the start of the usage error.
std::string render(const std::vector<std::string>& words) {
    try {
        Arguments arguments("cmd", words, {"--seed", "--columns"}, {"--replace"}, 1, 2);
        std::string out = "p:";
        for (std::size_t i = 0; i < arguments.positionalCount(); ++i)
            out += (i ? "," : "") + arguments.positional(i);
        for (const char* option : {"--seed", "--columns"})
            if (auto value = arguments.value(option))
                out += std::string(" v:") + option + "=" + *value;
        if (arguments.flag("--replace"))
            out += " f:--replace";
        return out;
    } catch (const UsageError& e) {
        return std::string("!") + e.what();
    }
}

struct ArgumentCase {
    std::vector<std::string> words;
    std::string expected;
};

class ArgumentReading : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentReading, SplitsWordsOrRefuses) {
    std::string got = render(GetParam().words);
    if (GetParam().expected[0] == '!')
        EXPECT_EQ(got.rfind(GetParam().expected, 0), 0u) << got;
    else
        EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentReading,
    ::testing::Values(
        ArgumentCase{{"a.mdb"}, "p:a.mdb"},
        ArgumentCase{{"a.mdb", "--seed", "7", "b.csv"}, "p:a.mdb,b.csv v:--seed=7"},
        ArgumentCase{{"--seed=7", "a.mdb", "--replace"}, "p:a.mdb v:--seed=7 f:--replace"},
        ArgumentCase{{"a.mdb", "--columns", "--x"}, "p:a.mdb v:--columns=--x"},
        ArgumentCase{{"-", "a.mdb"}, "p:-,a.mdb"}, ArgumentCase{{"--", "--odd.mdb"}, "p:--odd.mdb"},
        ArgumentCase{{"a.mdb", "--", "--replace"}, "p:a.mdb,--replace"},
        ArgumentCase{{}, "!cmd: missing argument"},
        ArgumentCase{{"a", "b", "c"}, "!cmd: too many arguments (\"c\")"},
        ArgumentCase{{"a.mdb", "--seed"}, "!cmd: --seed needs a value"},
        ArgumentCase{{"a.mdb", "--seed", "1", "--seed", "2"}, "!cmd: --seed is given twice"},
        ArgumentCase{{"a.mdb", "--replace=yes"}, "!cmd: unknown option --replace=yes"},
        ArgumentCase{{"a.mdb", "--force"}, "!cmd: unknown option --force"}));

struct NumberCase {
    std::string text;
    std::string expected; // the number, or "!" when refused
};

class ArgumentNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ArgumentNumber, ReadsWholeNumbersInRange) {
    Arguments arguments("cmd", {"a", "--seed", GetParam().text}, {"--seed"}, {}, 1, 1);
    std::string got;
    try {
        got = std::to_string(arguments.number("--seed", 0, 1, 1000));
    } catch (const UsageError&) {
        got = "!";
    }
    EXPECT_EQ(got, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ArgumentNumber,
                         ::testing::Values(NumberCase{"1", "1"}, NumberCase{"1000", "1000"},
                                           NumberCase{"007", "7"}, NumberCase{"0", "!"},
                                           NumberCase{"1001", "!"}, NumberCase{"-1", "!"},
                                           NumberCase{"1e3", "!"}, NumberCase{"", "!"},
                                           NumberCase{"99999999999999999999", "!"}));

TEST(ArgumentNumber, AbsentOptionGivesTheFallback) {
    Arguments arguments("cmd", {"a"}, {"--seed"}, {}, 1, 1);
    EXPECT_EQ(arguments.number("--seed", 42, 1, 1000), 42u);
}

} // namespace
