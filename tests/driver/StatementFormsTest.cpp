// The statements the inventory program sends, through the driver manager and the
// driver, on a small stock collection: selectors, date bounds, the filtered
// listing, the custom search, save (INSERT/UPDATE) and delete.
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

using namespace drivertest;
using Strings = std::vector<std::string>;

namespace {

class StatementForms : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(
            db, {
                    stockRow("1", "A", "1", "2003-05-17 00:00:00"),
                    stockRow("1", "A", "2", "2009-01-02 00:00:00", "BL21"),
                    stockRow("3", "A", "1", "2008-12-21 00:00:00", "model"),
                    stockRow("3", "A", "2", "2009-01-02 13:30:00"),
                    stockRow("3", "B", "1", "1999-02-01 00:00:00", "Del9"),
                    stockRow("2", "A", "1", std::nullopt, "JM109", std::string("no date")),
                    stockRow("10", "A", "1", "2010-10-10 00:00:00"),
                });
        ASSERT_TRUE(SQL_SUCCEEDED(connection.open(db)));
    }

    Strings keys(const std::string& sql) {
        Outcome outcome = run(connection, sql);
        EXPECT_TRUE(outcome.ok()) << sql << ": " << outcome.state() << " " << outcome.message();
        return firstColumn(outcome.rows);
    }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    Connection connection;
};

TEST_F(StatementForms, SelectDistinctOrdersTheValuesOfOneColumn) {
    EXPECT_EQ(keys("SELECT DISTINCT Rack FROM StockTable ORDER BY Rack"),
              (Strings{"1", "10", "2", "3"}));
    EXPECT_EQ(keys("SELECT DISTINCT Box FROM StockTable ORDER BY Box"), (Strings{"A", "B"}));
}

TEST_F(StatementForms, MinAndMaxOfTheDateAreChronologicalAndIgnoreNull) {
    EXPECT_EQ(keys("SELECT MIN(Dates_ID) FROM StockTable"), (Strings{"1999-02-01 00:00:00"}));
    EXPECT_EQ(keys("SELECT MAX(Dates_ID) FROM StockTable"), (Strings{"2010-10-10 00:00:00"}));
}

TEST_F(StatementForms, FilteredListingReturnsWholeRecords) {
    Outcome outcome = run(connection, "SELECT * from StockTable WHERE Rack='3' and Box='A' and "
                                      "Dates_ID between #2003-05-17# and #2009-01-02#");
    ASSERT_TRUE(outcome.ok()) << outcome.message();
    // 3_A_2 lies on the end date but after midnight, which the date-only literal means.
    ASSERT_EQ(outcome.rows.size(), 1u);
    EXPECT_EQ(outcome.rows[0], stockRow("3", "A", "1", "2008-12-21 00:00:00", "model"));
    EXPECT_EQ(outcome.rowCount, -1);
}

TEST_F(StatementForms, BetweenDatesIncludesBothEndsAtMidnight) {
    const Strings expected{"1_A_1", "1_A_2", "3_A_1"};
    for (const char* sql :
         {"SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2009-01-02# "
          "ORDER BY Index_ID",
          "SELECT * from StockTable WHERE Dates_ID between #2003/05/17# and #2009/01/02# "
          "ORDER BY Index_ID",
          "SELECT * from StockTable WHERE Dates_ID between #5/17/2003# and #1/2/2009# "
          "ORDER BY Index_ID",
          "SELECT * from StockTable WHERE Dates_ID between #2003-05-17 00:00:00# and "
          "#2009-01-02 00:00:00# ORDER BY Index_ID"})
        EXPECT_EQ(keys(sql), expected) << sql;
}

TEST_F(StatementForms, OrderByDateIsChronologicalWithNullFirst) {
    EXPECT_EQ(keys("SELECT Index_ID FROM StockTable ORDER BY Dates_ID"),
              (Strings{"2_A_1", "3_B_1", "1_A_1", "3_A_1", "1_A_2", "3_A_2", "10_A_1"}));
}

TEST_F(StatementForms, LikeFindsASubstringIgnoringCase) {
    EXPECT_EQ(keys("SELECT * from StockTable WHERE Strain LIKE '%del%' ORDER BY Index_ID"),
              (Strings{"3_A_1", "3_B_1"}));
    EXPECT_EQ(keys("SELECT * from StockTable WHERE Strain LIKE 'B_21'"), (Strings{"1_A_2"}));
    EXPECT_EQ(keys("SELECT * from StockTable WHERE Strain LIKE '%zzz%'"), Strings{});
}

TEST_F(StatementForms, InsertStoresTheRecordAndCountsOneRow) {
    for (const char* end : {")", ");"}) {
        sqliteExec(db, "DELETE FROM StockTable WHERE Index_ID='R1_B2_P3'");
        Outcome outcome = run(
            connection,
            std::string("INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Plasmid, "
                        "Subunit, Mutation, Antibiotic, Dates_ID, Comments) VALUES ('R1_B2_P3', "
                        "'R1', 'B2', 'P3', 'XL1', 'pET', 'beta', 'none', 'Kan', #1900-04-24#, ''") +
                end);
        ASSERT_TRUE(outcome.ok()) << outcome.message();
        EXPECT_EQ(outcome.rowCount, 1);
        Outcome back = run(connection, "SELECT * FROM StockTable WHERE Index_ID='R1_B2_P3'");
        ASSERT_EQ(back.rows.size(), 1u);
        EXPECT_EQ(back.rows[0], (Row{"R1_B2_P3", "R1", "B2", "P3", "XL1", "pET", "beta", "none",
                                     "Kan", "1900-04-24 00:00:00", ""}));
    }
}

TEST_F(StatementForms, UpdateRewritesTheRecordUnderANewKey) {
    Outcome outcome =
        run(connection, "UPDATE StockTable SET Index_ID='R1_B2_P3', Rack='R1', Box='B2', "
                        "Position='P3', Strain='XL1', Plasmid='pET', Subunit='beta', "
                        "Mutation='none', Antibiotic='Kan', Dates_ID=#2008-12-21#, Comments='' "
                        "WHERE Index_ID='3_B_1'");
    ASSERT_TRUE(outcome.ok()) << outcome.message();
    EXPECT_EQ(outcome.rowCount, 1);
    EXPECT_EQ(sqliteQuery(db, "SELECT Index_ID, Dates_ID FROM StockTable WHERE Rack='R1'"),
              (Rows{{"R1_B2_P3", "2008-12-21 00:00:00"}}));
    EXPECT_TRUE(sqliteQuery(db, "SELECT * FROM StockTable WHERE Index_ID='3_B_1'").empty());

    Outcome none = run(connection, "UPDATE StockTable SET Rack='9' WHERE Index_ID='nothing'");
    ASSERT_TRUE(none.ok());
    EXPECT_EQ(none.rowCount, 0);
}

TEST_F(StatementForms, DeleteRemovesOnlyTheNamedRecord) {
    Outcome outcome = run(connection, "DELETE FROM StockTable WHERE Index_ID='3_A_1'");
    ASSERT_TRUE(outcome.ok()) << outcome.message();
    EXPECT_EQ(outcome.rowCount, 1);
    EXPECT_EQ(sqliteQuery(db, "SELECT count(*) FROM StockTable"), (Rows{{"6"}}));
    EXPECT_TRUE(sqliteQuery(db, "SELECT * FROM StockTable WHERE Index_ID='3_A_1'").empty());
}

TEST_F(StatementForms, EachStatementIsCommittedWhenItReturns) {
    ASSERT_TRUE(run(connection, "DELETE FROM StockTable WHERE Index_ID='1_A_1'").ok());
    // Still connected: another reader of the file already sees the change.
    EXPECT_EQ(sqliteQuery(db, "SELECT count(*) FROM StockTable"), (Rows{{"6"}}));
}

TEST_F(StatementForms, BracketedNamesAreColumnNames) {
    EXPECT_EQ(keys("SELECT [Index_ID] FROM [StockTable] WHERE [Rack]='10'"), (Strings{"10_A_1"}));
}

} // namespace
