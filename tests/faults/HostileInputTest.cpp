// Bad input tried on purpose: a table of hostile texts in every field the
// user can type or choose (search text, date fields, selector values that
// came from the database, cells of the edit row, the key of a delete, the
// path). Each one either works as text or is refused with the program's
// message; the driver's trace shows that no statement of another shape ran,
// and where the operation failed the file is byte for byte as it was.
#include "FaultFiles.h"
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "browse/Search.h"
#include "edit/DeleteRecord.h"
#include "edit/EditRow.h"
#include "edit/SaveRecord.h"
#include "edit/Validation.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Texts = std::vector<std::string>;

struct Hostile {
    const char* name;
    std::string text;
};

const std::vector<Hostile> kHostile = {
    {"apostrophe", "O'Brien"},
    {"two apostrophes", "''"},
    {"double quotes", "say \"hi\""},
    {"second statement", "x'; DELETE FROM StockTable; --"},
    {"semicolon", "x; DROP TABLE StockTable"},
    {"line comment", "x -- y"},
    {"block comment", "x /* y */ z"},
    {"percent", "50%"},
    {"underscore", "a_b"},
    {"brackets", "[Rack]"},
    {"number signs", "#2008-01-01#"},
    {"slash", "A/B"},
    {"backslash", "a\\b"},
    {"menu markup", "_A|B&C@"},
    {"number-like", "007"},
    {"long", std::string(300, 'L') + "end"},
    {"very long", std::string(5000, 'V')},
    {"control characters", "a\tb\x01"
                           "c\x7f"},
    {"line break", "two\nlines"},
    {"invalid UTF-8", "\xff\xfe\xc3("},
};

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments TEXT";

// The text as the driver's trace writes it.
std::string traced(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string doubled(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

// Inserts records with bound values, so any text goes in as it is.
void insertRecords(const std::string& path, const std::vector<Texts>& records) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "INSERT INTO StockTable VALUES (?, ?, ?, ?, ?, ?, ?)", -1,
                                 &insert, nullptr),
              SQLITE_OK);
    for (const Texts& record : records) {
        for (size_t i = 0; i < record.size(); ++i)
            sqlite3_bind_text(insert, static_cast<int>(i + 1), record[i].data(),
                              static_cast<int>(record[i].size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE) << record[0];
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

// The value of `column` in the record keyed `key`, byte for byte; "<none>"
// when there is no such record.
std::string storedValue(const std::string& path, const std::string& column,
                        const std::string& key) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* select = nullptr;
    std::string sql = "SELECT " + column + " FROM StockTable WHERE Index_ID=?";
    sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr);
    sqlite3_bind_text(select, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    std::string value = "<none>";
    if (sqlite3_step(select) == SQLITE_ROW) {
        const void* bytes = sqlite3_column_blob(select, 0);
        value.assign(static_cast<const char*>(bytes),
                     static_cast<size_t>(sqlite3_column_bytes(select, 0)));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return value;
}

class HostileInput : public ProgramTest {
protected:
    // A database whose record i holds hostile text i in Rack, Strain and
    // Comments, keyed "h<i>", plus one plain record.
    void SetUp() override {
        ProgramTest::SetUp();
        path = makeDatabase("stock.mdb", kColumns);
        std::vector<Texts> records = {
            {"P_1_1", "P", "1", "1", "plain", "2005-05-05 00:00:00", "plain"}};
        for (size_t i = 0; i < kHostile.size(); ++i)
            records.push_back({keyOf(i), kHostile[i].text, "B", std::to_string(i), kHostile[i].text,
                               "2006-06-06 00:00:00", kHostile[i].text});
        insertRecords(path, records);
        openDatabase(path);
        ASSERT_EQ(messages, Texts{});
        takeStdout();
        markTrace();
    }

    static std::string keyOf(size_t i) { return "h" + std::to_string(i); }

    // The keys of the records whose Strain contains `text`.
    static Texts keysContaining(const std::string& text) {
        Texts keys;
        if (std::string("plain").find(text) != std::string::npos)
            keys.push_back("P_1_1");
        for (size_t i = 0; i < kHostile.size(); ++i)
            if (kHostile[i].text.find(text) != std::string::npos)
                keys.push_back(keyOf(i));
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    // Chooses `column` in the search's column chooser.
    void chooseSearchColumn(const std::string& column) {
        Fl_Choice& choice = *appState.searchFieldChoice;
        for (int i = 0; i + 1 < choice.size(); ++i)
            if (choice.text(i) && column == choice.text(i))
                choice.value(i);
    }

    int selectorItem(const std::string& value) const {
        const Fl_Choice& rack = *appState.selectors[0];
        for (int i = 0; i + 1 < rack.size(); ++i)
            if (rack.text(i) && value == rack.text(i))
                return i;
        return -1;
    }

    std::string path;
};

TEST_F(HostileInput, TheSearchTakesEveryTextAsText) {
    chooseSearchColumn("Strain");
    const std::string before = readBytes(path);
    for (const Hostile& h : kHostile) {
        SCOPED_TRACE(h.name);
        messages.clear();
        markTrace();
        appState.searchInput->value(h.text.c_str());
        search_cb();
        EXPECT_EQ(messages, Texts{});
        EXPECT_EQ(executedStatements(), Texts{"SELECT * from StockTable WHERE Strain LIKE '%" +
                                              traced(doubled(h.text)) + "%'"});
        Texts listed = listedKeys();
        if (h.text.find_first_of("%_") == std::string::npos) {
            EXPECT_EQ(listed, keysContaining(h.text));
        } else { // a pattern: what it matches includes the record that holds it
            EXPECT_NE(std::find(listed.begin(), listed.end(), keyOf(&h - &kHostile[0])),
                      listed.end());
        }
    }
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(HostileInput, TheDateFieldsListOrRefuseButRunNothingElse) {
    const std::string before = readBytes(path);
    for (const Hostile& h : kHostile) {
        for (bool start : {true, false}) {
            SCOPED_TRACE(std::string(h.name) + (start ? " as start date" : " as end date"));
            messages.clear();
            markTrace();
            appState.startDateInput->value(start ? h.text.c_str() : "1990-01-01");
            appState.endDateInput->value(start ? "2030-12-31" : h.text.c_str());
            checkState();
            Texts ran = executedStatements();
            ASSERT_LE(ran.size(), 1u);
            if (ran.empty()) { // a '#' would end the date literal: nothing is built
                EXPECT_NE(h.text.find('#'), std::string::npos);
                EXPECT_EQ(listedKeys(), Texts{});
                continue;
            }
            EXPECT_EQ(ran[0].rfind("SELECT * from StockTable WHERE Dates_ID between #", 0), 0u)
                << ran[0];
            // No such date: the database refuses the listing, with its message.
            EXPECT_EQ(messages, Texts{"Error SQLExecDirect()\nin checkState()"});
            EXPECT_EQ(listedKeys(), Texts{});
        }
    }
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(HostileInput, EachSelectorValueIsOneItemAndListsItsOwnRecords) {
    const std::string before = readBytes(path);
    for (size_t i = 0; i < kHostile.size(); ++i) {
        const Hostile& h = kHostile[i];
        SCOPED_TRACE(h.name);
        // Values arrive cut to 255 bytes, as every fetched text does.
        const std::string shown = h.text.substr(0, 255);
        int item = selectorItem(shown);
        ASSERT_GT(item, 0) << "no item for the value";
        messages.clear();
        markTrace();
        appState.selectors[0]->value(item);
        checkState();
        EXPECT_EQ(messages, Texts{});
        Texts ran = executedStatements();
        ASSERT_EQ(ran.size(), 1u);
        EXPECT_EQ(ran[0], "SELECT * from StockTable WHERE Rack='" + traced(doubled(shown)) +
                              "' and Dates_ID between #" + appState.startDateInput->value() +
                              "# and #" + appState.endDateInput->value() + "#");
        if (shown == h.text) {
            EXPECT_EQ(listedKeys(), Texts{keyOf(i)});
        } else { // the cut value names no record
            EXPECT_EQ(listedKeys(), Texts{});
        }
    }
    appState.selectors[0]->value(0);
    EXPECT_EQ(readBytes(path), before);
}

// The save of a new record with the hostile text in a description cell and
// in the Position (so in the key too).
TEST_F(HostileInput, TheEditRowSavesEveryTextWholeOrRefusesIt) {
    for (size_t i = 0; i < kHostile.size(); ++i) {
        const Hostile& h = kHostile[i];
        for (int cell : {4, 3, 6}) {
            SCOPED_TRACE(std::string(h.name) + " in cell " + std::to_string(cell));
            newItem();
            Texts row = {"", "S", std::to_string(i), "1", "strain", "2008-12-21", "note"};
            row[cell] = h.text;
            for (size_t c = 0; c < row.size(); ++c)
                appState.editTable->setCell(0, static_cast<int>(c), row[c]);
            const std::string key = "S_" + row[2] + "_" + row[3];
            const std::string before = readBytes(path);
            messages.clear();
            markTrace();
            updateItem();
            Texts ran = executedStatements();
            if (h.text.find('/') != std::string::npos) {
                EXPECT_EQ(messages, Texts{kSlashMessage});
                EXPECT_EQ(ran, Texts{});
                EXPECT_EQ(readBytes(path), before);
                continue;
            }
            if (h.text.find('\'') != std::string::npos) {
                EXPECT_EQ(messages, Texts{kApostropheMessage});
                EXPECT_EQ(ran, Texts{});
                EXPECT_EQ(readBytes(path), before);
                continue;
            }
            EXPECT_EQ(messages, Texts{});
            ASSERT_GE(ran.size(), 2u);
            EXPECT_EQ(ran[0], "SELECT * FROM StockTable WHERE Index_ID='" + traced(key) + "'");
            EXPECT_EQ(ran[1].rfind("INSERT INTO StockTable (Index_ID, Rack, Box, Position, "
                                   "Strain, Dates_ID, Comments) VALUES ('",
                                   0),
                      0u);
            const char* columns[] = {"Index_ID", "Rack",     "Box",     "Position",
                                     "Strain",   "Dates_ID", "Comments"};
            EXPECT_EQ(storedValue(path, columns[cell], key), h.text);
            EXPECT_EQ(storedValue(path, "Dates_ID", key), "2008-12-21 00:00:00");
            runSql(path, "DELETE FROM StockTable WHERE Rack='S'");
        }
    }
}

// Texts that pass the date check (10 characters read the way atoi reads
// them) but are no date: the database refuses the save and nothing is written.
TEST_F(HostileInput, ADateCellThatPassesTheCheckButIsNoDateWritesNothing) {
    for (const char* date :
         {"2008-12-2;", "2008-12-2#", "2008-12-2)", "2008-02-31", "2008-12-2-", "2008x12y21"}) {
        SCOPED_TRACE(date);
        newItem();
        Texts row = {"", "D", "1", "1", "strain", date, "note"};
        for (size_t c = 0; c < row.size(); ++c)
            appState.editTable->setCell(0, static_cast<int>(c), row[c]);
        const std::string before = readBytes(path);
        messages.clear();
        markTrace();
        updateItem();
        EXPECT_EQ(messages, Texts{"Error SQLExecDirect()\n,in the update fcn 2"});
        Texts ran = executedStatements();
        ASSERT_EQ(ran.size(), 2u);
        EXPECT_EQ(ran[1].rfind("INSERT INTO StockTable (", 0), 0u);
        EXPECT_EQ(readBytes(path), before);
    }
}

// Records put in by another tool may hold any key; the delete removes that
// record and no other.
TEST_F(HostileInput, TheDeleteRemovesExactlyTheRecordWithTheHostileKey) {
    std::vector<Texts> records;
    for (size_t i = 0; i < kHostile.size(); ++i)
        records.push_back(
            {kHostile[i].text, "K", "1", std::to_string(i), "s", "2007-07-07 00:00:00", "c"});
    insertRecords(path, records);
    size_t remaining = stockRows(path).size();
    answer = 2;
    for (const Hostile& h : kHostile) {
        SCOPED_TRACE(h.name);
        appState.editTable->setCell(0, 0, h.text);
        messages.clear();
        markTrace();
        deleteItem();
        EXPECT_EQ(messages, Texts{});
        Texts ran = executedStatements();
        ASSERT_FALSE(ran.empty());
        EXPECT_EQ(ran[0],
                  "DELETE FROM StockTable WHERE Index_ID='" + traced(doubled(h.text)) + "'");
        EXPECT_EQ(storedValue(path, "Rack", h.text), "<none>");
        EXPECT_EQ(stockRows(path).size(), --remaining);
    }
    EXPECT_EQ(storedValue(path, "Strain", "P_1_1"), "plain");
}

} // namespace
