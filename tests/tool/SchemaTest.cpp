// Table layouts given with --columns, and the CREATE TABLE they make.
#include "schema/Schema.h"
#include "ToolError.h"

#include <gtest/gtest.h>

using namespace rackbook;

namespace {

// Renders a layout as "Name:TYPE,..." to compare in one string.
std::string render(const std::vector<Column>& columns) {
    std::string out;
    for (const auto& column : columns)
        out += (out.empty() ? "" : ",") + column.name + ":" + column.declaredType;
    return out;
}

struct SpecCase {
    std::string spec;
    std::string expected; // the layout, or the start of the refusal after "!"
};

class ColumnSpec : public ::testing::TestWithParam<SpecCase> {};

TEST_P(ColumnSpec, AcceptsOnlyLayoutsTheProgramCanUse) {
    const SpecCase& c = GetParam();
    if (c.expected[0] == '!') {
        try {
            parseColumnSpec(c.spec);
            FAIL() << "accepted " << c.spec;
        } catch (const ToolError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected.substr(1)), std::string::npos)
                << e.what();
        }
    } else {
        EXPECT_EQ(render(parseColumnSpec(c.spec)), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnSpec,
    ::testing::Values(
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID",
                 "Index_ID:TEXT(255),Rack:TEXT,Box:TEXT,Position:TEXT,Dates_ID:DATETIME"},
        SpecCase{"Index_ID, Shelf:integer ,Box,Slot,Name,Count:LONG,Dates_ID,Notes:MEMO,Ok:YESNO",
                 "Index_ID:TEXT(255),Shelf:INTEGER,Box:TEXT,Slot:TEXT,Name:TEXT,Count:LONG,"
                 "Dates_ID:DATETIME,Notes:MEMO,Ok:YESNO"},
        SpecCase{"Index_ID:TEXT(100),Rack,Box,Position,Mass:DOUBLE,Dates_ID:DATETIME",
                 "Index_ID:TEXT(100),Rack:TEXT,Box:TEXT,Position:TEXT,Mass:DOUBLE,"
                 "Dates_ID:DATETIME"},
        SpecCase{"Rack,Index_ID,Box,Position,Dates_ID", "!the first column must be Index_ID"},
        SpecCase{"Index_ID,Rack,Box,Dates_ID", "!three place columns"},
        SpecCase{"Index_ID,Rack,Box,Position", "!exactly one Dates_ID"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID,Dates_ID", "!named twice"},
        SpecCase{"Index_ID,Rack,Box,Position,dates_id", "!named Dates_ID"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID:TEXT", "!Dates_ID must be of type"},
        SpecCase{"Index_ID:INTEGER,Rack,Box,Position,Dates_ID", "!Index_ID must be a TEXT"},
        SpecCase{"Index_ID,Rack,Box,Position:MEMO,Dates_ID", "!place column Position"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID,Rack", "!named twice"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID,My Notes", "!not a plain name"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID,Notes:BLOB", "!unknown type"},
        SpecCase{"Index_ID,Rack,Box,Position,Dates_ID,Notes:TEXT(300)", "!unknown type"},
        SpecCase{"Index_ID,Rack,,Position,Dates_ID", "!column 3 has no name"}));

TEST(DefaultLayout, FollowsTheHelpLines) {
    EXPECT_EQ(render(defaultStockColumns()),
              "Index_ID:TEXT(255),Rack:TEXT,Box:TEXT,Position:TEXT,Strain:TEXT,Plasmid:TEXT,"
              "Subunit:TEXT,Mutation:TEXT,Antibiotic:TEXT,Dates_ID:DATETIME,Comments:TEXT");
    EXPECT_NO_THROW(checkLayout(defaultStockColumns()));
}

struct KindCase {
    std::string type;
    ColumnKind kind;
};

class DeclaredType : public ::testing::TestWithParam<KindCase> {};

TEST_P(DeclaredType, MapsToColumnKind) {
    EXPECT_EQ(kindOfDeclaredType(GetParam().type), GetParam().kind) << GetParam().type;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeclaredType,
    ::testing::Values(KindCase{"TEXT(255)", ColumnKind::Text},
                      KindCase{"varchar(20)", ColumnKind::Text}, KindCase{"MEMO", ColumnKind::Memo},
                      KindCase{"LONGTEXT", ColumnKind::Memo}, KindCase{"LONG", ColumnKind::Integer},
                      KindCase{"INTEGER", ColumnKind::Integer},
                      KindCase{"DOUBLE", ColumnKind::Double}, KindCase{"REAL", ColumnKind::Double},
                      KindCase{"YESNO", ColumnKind::YesNo}, KindCase{"BIT", ColumnKind::YesNo},
                      KindCase{"DATETIME", ColumnKind::DateTime}, KindCase{"", ColumnKind::Text}));

TEST(CreateTableSql, KeyFirstWithQuotedNames) {
    auto columns = parseColumnSpec("Index_ID,Rack,Box,Position,Dates_ID,Notes:MEMO");
    EXPECT_EQ(createTableSql("StockTable", columns),
              "CREATE TABLE \"StockTable\" (\"Index_ID\" TEXT(255) PRIMARY KEY NOT NULL, "
              "\"Rack\" TEXT, \"Box\" TEXT, \"Position\" TEXT, \"Dates_ID\" DATETIME, "
              "\"Notes\" LONGTEXT)");
}

} // namespace
