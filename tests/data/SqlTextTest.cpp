// Table tests of how values and column names enter the statements.
#include "db/SqlText.h"

#include <gtest/gtest.h>

namespace {

struct EscapeCase {
    std::string value;
    std::string escaped;
};

TEST(EscapeValue, DoublesEveryApostropheAndNothingElse) {
    const EscapeCase cases[] = {
        {"", ""},
        {"E. coli K12", "E. coli K12"},
        {"don't", "don''t"},
        {"'", "''"},
        {"''", "''''"},
        {"a'b'c", "a''b''c"},
        {"100%_x", "100%_x"},
        {"#1900-04-24#", "#1900-04-24#"},
        {"x' OR '1'='1", "x'' OR ''1''=''1"},
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(escapeValue(c.value), c.escaped) << c.value;
}

struct NameCase {
    std::string name;
    std::string written;
};

TEST(SqlName, PlainNamesStayBareOthersAreBracketed) {
    const NameCase cases[] = {
        // The usual table layout stays as it is.
        {"Index_ID", "Index_ID"},
        {"Rack", "Rack"},
        {"Box", "Box"},
        {"Position", "Position"},
        {"Strain", "Strain"},
        {"Plasmid", "Plasmid"},
        {"Subunit", "Subunit"},
        {"Mutation", "Mutation"},
        {"Antibiotic", "Antibiotic"},
        {"Dates_ID", "Dates_ID"},
        {"Comments", "Comments"},
        {"_private", "_private"},
        {"col2", "col2"},
        // Not a plain identifier.
        {"Cell line", "[Cell line]"},
        {"2nd", "[2nd]"},
        {"a-b", "[a-b]"},
        {"A/B", "[A/B]"},
        {"x]y", "[x]]y]"},
        {"Größe", "[Größe]"},
        {"", "[]"},
        // Keywords, in any case.
        {"Order", "[Order]"},
        {"SELECT", "[SELECT]"},
        {"from", "[from]"},
        {"Date", "[Date]"},
        {"Group", "[Group]"},
        {"Index", "[Index]"},
        {"Key", "[Key]"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(sqlName(c.name), c.written) << c.name;
}

TEST(SqlName, KeywordTestIgnoresCaseButNotPartOfAWord) {
    EXPECT_TRUE(isSqlKeyword("where"));
    EXPECT_TRUE(isSqlKeyword("WhErE"));
    EXPECT_FALSE(isSqlKeyword("Wherever"));
    EXPECT_FALSE(isSqlKeyword("Index_ID"));
    EXPECT_FALSE(isPlainName("Where"));
    EXPECT_TRUE(isPlainName("Wherever"));
}

} // namespace
