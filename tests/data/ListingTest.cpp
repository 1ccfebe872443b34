// The filtered listing and the custom search on a real database through the
// driver: which records come back for a table of selector states and search
// texts, the statement that ran, and the failures that can be provoked.
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "browse/Search.h"
#include "db/ColumnDiscovery.h"
#include "db/Selectors.h"
#include "widgets/MyTable.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Output.H>

#include <cstdio>

namespace {

using Keys = std::vector<std::string>;

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments MEMO";

const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', "
    "'first')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'O''Brien', '2005-01-01 00:00:00', "
    "NULL)",
    "INSERT INTO StockTable VALUES ('R2_A_3', 'R2', 'A', '3', 'del_1', '2009-01-02 00:00:00', "
    "'third')",
    "INSERT INTO StockTable VALUES ('R2_A/B_4', 'R2', 'A/B', '4', NULL, '2006-06-06 12:30:00', "
    "'slash')",
    "INSERT INTO StockTable VALUES ('R3_C_5', 'R3', 'C', '5', '100%', NULL, 'no date')",
    "INSERT INTO StockTable VALUES ('R3_C_6', 'R3', 'C', '6', 'delta', '2004-04-04 00:00:00', "
    "'x')",
};

// Chooses the item of selector k whose text is `value` ("*" is item 0).
void choose(int k, const std::string& value) {
    Fl_Choice& selector = *appState.selectors[k];
    for (int i = 0; i + 1 < selector.size(); ++i) {
        if (value == selector.menu()[i].text) {
            selector.value(i);
            return;
        }
    }
    ADD_FAILURE() << "selector " << k << " has no item " << value;
}

class Listing : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        path = makeDatabase("stock.mdb", kColumns, kRecords);
        openDatabase(path);
        ASSERT_EQ(messages, Keys{});
        takeStdout();
        markTrace();
    }
    std::string path;
};

struct SelectorCase {
    const char* what;
    std::vector<std::pair<int, std::string>> choices; // selector index, item text
    std::string start;
    std::string end;
    Keys keys;
    std::string statement;
};

TEST_F(Listing, SelectorStatesDecideTheRecords) {
    const SelectorCase cases[] = {
        {"all on *",
         {},
         "2003-05-17",
         "2009-01-02",
         {"R1_A_1", "R1_B_2", "R2_A/B_4", "R2_A_3", "R3_C_6"},
         "SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2009-01-02#"},
        {"one rack",
         {{0, "R1"}},
         "2003-05-17",
         "2009-01-02",
         {"R1_A_1", "R1_B_2"},
         "SELECT * from StockTable WHERE Rack='R1' and Dates_ID between #2003-05-17# and "
         "#2009-01-02#"},
        {"rack and box",
         {{0, "R2"}, {1, "A"}},
         "2003-05-17",
         "2009-01-02",
         {"R2_A_3"},
         "SELECT * from StockTable WHERE Rack='R2' and Box='A' and Dates_ID between "
         "#2003-05-17# and #2009-01-02#"},
        {"a value with a slash",
         {{1, "A/B"}},
         "2003-05-17",
         "2009-01-02",
         {"R2_A/B_4"},
         "SELECT * from StockTable WHERE Box='A/B' and Dates_ID between #2003-05-17# and "
         "#2009-01-02#"},
        {"a value with an apostrophe",
         {{3, "O'Brien"}},
         "2003-05-17",
         "2009-01-02",
         {"R1_B_2"},
         "SELECT * from StockTable WHERE Strain='O''Brien' and Dates_ID between #2003-05-17# "
         "and #2009-01-02#"},
        {"both ends of the range are included",
         {},
         "2003-05-17",
         "2005-01-01",
         {"R1_A_1", "R1_B_2", "R3_C_6"},
         "SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2005-01-01#"},
        {"a range and a selector that exclude each other",
         {{0, "R2"}},
         "2003-05-17",
         "2005-01-01",
         {},
         "SELECT * from StockTable WHERE Rack='R2' and Dates_ID between #2003-05-17# and "
         "#2005-01-01#"},
    };
    for (const SelectorCase& c : cases) {
        for (int k = 0; k < 4; ++k)
            appState.selectors[k]->value(0);
        for (const auto& [k, value] : c.choices)
            choose(k, value);
        appState.startDateInput->value(c.start.c_str());
        appState.endDateInput->value(c.end.c_str());
        const size_t before = executedStatements().size();
        appState.selectors[0]->do_callback(); // the selectors' callback lists again
        EXPECT_EQ(listedKeys(), c.keys) << c.what;
        const Keys statements = executedStatements();
        ASSERT_EQ(statements.size(), before + 1) << c.what;
        EXPECT_EQ(statements.back(), c.statement) << c.what;
        EXPECT_EQ(appState.mainTable->rows(), static_cast<int>(c.keys.size())) << c.what;
    }
    EXPECT_EQ(messages, Keys{});
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Listing, SelectorsFromTheFirstNoneOnAndUnchosenOnesAddNoTerm) {
    choose(0, "R1");
    choose(2, "2");
    appState.selectorCaptions[1]->value("None");
    checkState();
    EXPECT_EQ(lastStatement(),
              "SELECT * from StockTable WHERE Rack='R1' and Dates_ID between #2003-05-17# and "
              "#2009-01-02#");
    EXPECT_EQ(listedKeys(), (Keys{"R1_A_1", "R1_B_2"}));

    appState.selectorCaptions[1]->value("Box");
    appState.selectors[0]->value(-1);
    appState.selectors[2]->value(0);
    checkState();
    EXPECT_EQ(lastStatement(),
              "SELECT * from StockTable WHERE Dates_ID between #2003-05-17# and #2009-01-02#");
}

TEST_F(Listing, ABadDateTextFailsTheListingAndLeavesTheTableEmpty) {
    const char* badDates[] = {"", "2008-13-45", "yesterday", "2001-01-01# or #1=1", "2001'01'01"};
    for (const char* date : badDates) {
        messages.clear();
        appState.startDateInput->value(date);
        checkState();
        EXPECT_EQ(messages, Keys{"Error SQLExecDirect()\nin checkState()"}) << date;
        EXPECT_EQ(appState.mainTable->rows(), 0) << date;
        EXPECT_EQ(appState.mainTable->dataRowCount(), 0) << date;
    }
    EXPECT_EQ(liveHandles(), 0);
}

struct SearchCase {
    std::string column;
    std::string text;
    Keys keys;
};

TEST_F(Listing, SearchFindsTheTextInTheChosenColumn) {
    const SearchCase cases[] = {
        {"Strain", "del", {"R2_A_3", "R3_C_6"}},
        {"Strain", "del_", {"R2_A_3", "R3_C_6"}}, // '_' is any one character: '_' or 't'
        {"Strain", "de_t", {"R3_C_6"}},           // here the 'l'
        {"Strain", "0%", {"R3_C_5"}},             // '%' is any run: "0", "0%" and "00%"
        {"Strain", "%", {"R1_A_1", "R1_B_2", "R2_A_3", "R3_C_5", "R3_C_6"}},
        {"Strain", "", {"R1_A_1", "R1_B_2", "R2_A_3", "R3_C_5", "R3_C_6"}}, // NULL never
        {"Strain", "O'Brien", {"R1_B_2"}},
        {"Strain", "'", {"R1_B_2"}},
        {"Strain", "nothing like it", {}},
        {"Box", "/", {"R2_A/B_4"}},
        {"Comments", "no date", {"R3_C_5"}}, // outside the date range, found anyway
    };
    for (const SearchCase& c : cases) {
        choose(0, "R1"); // the selectors do not limit the search
        const Keys columns = menuItems(*appState.searchFieldChoice);
        const auto found = std::find(columns.begin(), columns.end(), c.column);
        ASSERT_NE(found, columns.end());
        appState.searchFieldChoice->value(static_cast<int>(found - columns.begin()));
        appState.searchInput->value(c.text.c_str());
        EXPECT_EQ(search_cb(), 0) << c.text;
        EXPECT_EQ(listedKeys(), c.keys) << c.column << " " << c.text;
    }
    EXPECT_EQ(lastStatement(), "SELECT * from StockTable WHERE Comments LIKE "
                               "'%no date%'");
    EXPECT_EQ(messages, Keys{});
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Listing, SearchWithoutAChosenColumnTakesTheFirstAndShowsIt) {
    ASSERT_EQ(appState.searchFieldChoice->value(), -1);
    appState.searchInput->value("R3");
    EXPECT_EQ(search_cb(), 0);
    EXPECT_EQ(appState.searchFieldChoice->value(), 0);
    EXPECT_STREQ(appState.searchFieldChoice->text(), "Index_ID");
    EXPECT_EQ(lastStatement(), "SELECT * from StockTable WHERE Index_ID LIKE '%R3%'");
    EXPECT_EQ(listedKeys(), (Keys{"R3_C_5", "R3_C_6"}));
    EXPECT_EQ(messages, Keys{});
}

TEST_F(Listing, SearchRowsShowNullAsEmptyAndDatesCut) {
    appState.searchFieldChoice->value(0);
    appState.searchInput->value("R3_C_");
    search_cb();
    ASSERT_EQ(listedRows().size(), 2u);
    for (const auto& row : listedRows()) {
        if (row[0] == "R3_C_5")
            EXPECT_EQ(row, (Keys{"R3_C_5", "R3", "C", "5", "100%", "", "no date"}));
        else
            EXPECT_EQ(row, (Keys{"R3_C_6", "R3", "C", "6", "delta", "2004-04-04", "x"}));
    }
}

// The failures that a changed database provokes, one operation at a time.
TEST_F(Listing, ADroppedTableFailsEachOperationWithItsOwnAlert) {
    runSql(path, "DROP TABLE StockTable");

    appState.searchFieldChoice->value(0);
    appState.searchInput->value("x");
    EXPECT_EQ(search_cb(), -1);
    checkState();
    EXPECT_EQ(messages, (Keys{"Error SQLExecDirect()\nin search_cb()",
                              "Error SQLExecDirect()\nin checkState()"}));
    // These alerts come after the release.
    EXPECT_EQ(handlesDuringMessage, (std::vector<int>{0, 0}));
    EXPECT_EQ(appState.mainTable->dataRowCount(), 0);
    EXPECT_EQ(appState.mainTable->rows(), 0);
    EXPECT_EQ(liveHandles(), 0);

    // Selector population: the first SELECT DISTINCT fails; its diagnostics
    // go to standard output, the first selector keeps only "*" with nothing
    // chosen, the others and the date fields stay as they were.
    messages.clear();
    takeStdout();
    handlesDuringMessage.clear();
    set_selectors(path);
    EXPECT_EQ(messages, Keys{"Error SQLExecDirect()\nin SELECT DISTINCT"});
    // This one is shown while the connection is still open.
    ASSERT_EQ(handlesDuringMessage.size(), 1u);
    EXPECT_GT(handlesDuringMessage[0], 0);
    const std::string out = takeStdout();
    EXPECT_EQ(out.substr(0, 1), "\n") << out;
    EXPECT_GE(std::count(out.begin(), out.end(), '\n'), 3) << out;
    EXPECT_EQ(menuItems(*appState.selectors[0]), Keys{"*"});
    EXPECT_EQ(appState.selectors[0]->value(), -1);
    EXPECT_EQ(menuItems(*appState.selectors[1]), (Keys{"*", "A", "A/B", "B", "C"}));
    EXPECT_STREQ(appState.startDateInput->value(), "2003-05-17");
    EXPECT_EQ(liveHandles(), 0);

    // Column discovery finds no columns and leaves the captions alone.
    messages.clear();
    set_column_names(path);
    set_selector_labels();
    EXPECT_EQ(messages, Keys{});
    EXPECT_EQ(appState.columnNames, Keys{});
    EXPECT_EQ(appState.columnCount, 0);
    EXPECT_STREQ(appState.selectorCaptions[0]->value(), "Rack");
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Listing, ARenamedDateColumnFailsTheDateRangeAndTheListing) {
    runSql(path, "ALTER TABLE StockTable RENAME COLUMN Dates_ID TO Stored");
    appState.startDateInput->value("2000-01-01");
    set_selectors(path);
    EXPECT_EQ(messages, Keys{"Error SQLExecDirect(), setting the MinDates\n"});
    // The selectors were filled before the date query failed.
    EXPECT_EQ(menuItems(*appState.selectors[0]), (Keys{"*", "R1", "R2", "R3"}));
    EXPECT_STREQ(appState.startDateInput->value(), "2000-01-01");
    EXPECT_STREQ(appState.endDateInput->value(), "2009-01-02");

    messages.clear();
    checkState();
    EXPECT_EQ(messages, Keys{"Error SQLExecDirect()\nin checkState()"});
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Listing, ARemovedFileFailsAtTheConnection) {
    ASSERT_EQ(std::remove(path.c_str()), 0);
    checkState();
    appState.searchFieldChoice->value(0);
    search_cb();
    set_selectors(path);
    set_column_names(path);
    EXPECT_EQ(messages,
              (Keys{"SQLDriverConnect(connection to the database) \nError, in the checkState",
                    "SQLDriverConnect(connection to the database) \nError, in the search_cb",
                    "SQLDriverConnect(connection to the database) \nError, in the set_selectors",
                    "SQLDriverConnect(connection to the database) \nError, in the "
                    "set_column_names"}));
    EXPECT_EQ(appState.mainTable->rows(), 0);
    EXPECT_EQ(liveHandles(), 0);
}

TEST_F(Listing, AnEmptyPathFailsAtTheConnection) {
    appState.pathInput->value("");
    checkState();
    EXPECT_EQ(messages,
              Keys{"SQLDriverConnect(connection to the database) \nError, in the checkState"});
}

} // namespace
