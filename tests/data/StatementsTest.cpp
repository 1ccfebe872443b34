// Table tests of the statement texts.  The worked examples of the listing,
// the search, the save and the delete come out character for character.
#include "db/Statements.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kColumns = {"Index_ID", "Rack",     "Box",     "Position",
                                           "Strain",   "Dates_ID", "Comments"};

TEST(SelectDistinct, NamesTheColumnTwice) {
    EXPECT_EQ(selectDistinctStatement("Rack"),
              "SELECT DISTINCT Rack FROM StockTable ORDER BY Rack");
    EXPECT_EQ(selectDistinctStatement("Cell line"),
              "SELECT DISTINCT [Cell line] FROM StockTable ORDER BY [Cell line]");
}

TEST(DateStatements, AreFixed) {
    EXPECT_STREQ(kMinDatesStatement, "SELECT MIN(Dates_ID) FROM StockTable");
    EXPECT_STREQ(kMaxDatesStatement, "SELECT MAX(Dates_ID) FROM StockTable");
}

struct ListingCase {
    std::vector<FilterTerm> terms;
    std::string start;
    std::string end;
    std::string statement;
};

TEST(ListingStatement, JoinsTermsAndTheDateRange) {
    const ListingCase cases[] = {
        {{{"Rack", "3"}, {"Box", "A"}},
         "2003-05-17",
         "2009-01-02",
         "SELECT * from StockTable WHERE Rack='3' and Box='A' and Dates_ID between "
         "#2003-05-17# and #2009-01-02#"},
        {{},
         "2003-05-17",
         "2009-01-02",
         "SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2009-01-02#"},
        {{{"Strain", "O'Brien"}},
         "2000-01-01",
         "2001-01-01",
         "SELECT * from StockTable WHERE Strain='O''Brien' and Dates_ID between #2000-01-01# "
         "and #2001-01-01#"},
        {{{"Cell line", "A/B"}},
         "",
         "",
         "SELECT * from StockTable WHERE [Cell line]='A/B' and Dates_ID between ## and ##"},
        {{{"Box", "x' or 'a'='a"}},
         "2000-01-01",
         "2000'01",
         "SELECT * from StockTable WHERE Box='x'' or ''a''=''a' and Dates_ID between "
         "#2000-01-01# and #2000''01#"},
    };
    for (const ListingCase& c : cases) {
        const std::optional<std::string> statement = listingStatement(c.terms, c.start, c.end);
        ASSERT_TRUE(statement.has_value()) << c.statement;
        EXPECT_EQ(*statement, c.statement);
    }
}

TEST(ListingStatement, RefusesADateTextThatWouldCloseItsLiteral) {
    EXPECT_FALSE(listingStatement({}, "2000-01-01# or 1=1 or Dates_ID=#2000-01-01", "2001-01-01")
                     .has_value());
    EXPECT_FALSE(listingStatement({}, "2000-01-01", "#").has_value());
}

TEST(SearchStatement, KeepsPatternCharactersAndDoublesApostrophes) {
    const std::pair<std::string, std::string> cases[] = {
        {"del", "SELECT * from StockTable WHERE Strain LIKE '%del%'"},
        {"", "SELECT * from StockTable WHERE Strain LIKE '%%'"},
        {"a%b_c", "SELECT * from StockTable WHERE Strain LIKE '%a%b_c%'"},
        {"O'Brien", "SELECT * from StockTable WHERE Strain LIKE '%O''Brien%'"},
        {" x ", "SELECT * from StockTable WHERE Strain LIKE '% x %'"},
    };
    for (const auto& [text, statement] : cases)
        EXPECT_EQ(searchStatement("Strain", text), statement);
    EXPECT_EQ(searchStatement("Order", "1"), "SELECT * from StockTable WHERE [Order] LIKE '%1%'");
}

TEST(SaveStatements, WorkedInsertExample) {
    EXPECT_EQ(occupancyStatement("Index_ID", "R1_B2_P3"),
              "SELECT * FROM StockTable WHERE Index_ID='R1_B2_P3'");
    const std::vector<std::string> values = {"R1_B2_P3", "R1", "B2", "P3", "E. coli K12", "", ""};
    EXPECT_EQ(insertStatement(kColumns, values, 5),
              "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Dates_ID, Comments) "
              "VALUES ('R1_B2_P3', 'R1', 'B2', 'P3', 'E. coli K12', #1900-04-24#, '');");
}

TEST(SaveStatements, WorkedUpdateExample) {
    const std::vector<std::string> values = {"R1_B2_P3",    "R1",         "B2", "P3",
                                             "E. coli K12", "2008-12-21", ""};
    EXPECT_EQ(updateStatement(kColumns, values, 5, "R1_B2_P4"),
              "UPDATE StockTable SET Index_ID='R1_B2_P3', Rack='R1', Box='B2', Position='P3', "
              "Strain='E. coli K12', Dates_ID=#2008-12-21#, Comments='' WHERE "
              "Index_ID='R1_B2_P4'");
}

TEST(SaveStatements, EmptyDateIsTheDefaultDateInAnUpdate) {
    const std::vector<std::string> names = {"Index_ID", "Rack", "Box", "Position", "Dates_ID"};
    const std::vector<std::string> values = {"a_b_c", "a", "b", "c", ""};
    EXPECT_EQ(updateStatement(names, values, 4, "old"),
              "UPDATE StockTable SET Index_ID='a_b_c', Rack='a', Box='b', Position='c', "
              "Dates_ID=#1900-04-24# WHERE Index_ID='old'");
}

TEST(SaveStatements, NamesThatNeedBracketsGetThem) {
    const std::vector<std::string> names = {"Index_ID", "Rack",     "Box",
                                            "Position", "Dates_ID", "Cell line"};
    const std::vector<std::string> values = {"", "1", "2", "3", "2001-01-01", "HeLa"};
    EXPECT_EQ(insertStatement(names, values, 4),
              "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Dates_ID, [Cell line]) "
              "VALUES ('', '1', '2', '3', #2001-01-01#, 'HeLa');");
}

TEST(DeleteStatement, WorkedExampleAndApostropheInKey) {
    EXPECT_EQ(deleteStatement("Index_ID", "R1_B2_P3"),
              "DELETE FROM StockTable WHERE Index_ID='R1_B2_P3'");
    EXPECT_EQ(deleteStatement("Index_ID", "O'Brien_1_2"),
              "DELETE FROM StockTable WHERE Index_ID='O''Brien_1_2'");
}

} // namespace
