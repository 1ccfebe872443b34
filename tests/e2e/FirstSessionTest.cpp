// A newcomer's first session with the real program, driven from outside with
// real X events: open a demo database by typing its path, browse with a
// selector, sort, load a record, change it, add one, delete one, meet an
// alert and leave.  What the program did is read back from what a user or an
// administrator can see: screenshots, standard output, the database file
// (through the database tool) and the driver's statement log.
//
// Screenshots of every step land in the build folder (screenshots/).
#include "Desktop.h"
#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <X11/Xlib.h> // last: its macros clash with the test framework's names

namespace {

namespace fs = std::filesystem;
using desktop::Picture;
using desktop::Rgb;

// Holds one connection to the X server for the whole run: the virtual
// server would reset itself whenever its last client left.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        for (int attempt = 0; attempt < 100 && display == nullptr; ++attempt) {
            display = XOpenDisplay(nullptr);
            if (display == nullptr)
                usleep(100 * 1000);
        }
        ASSERT_NE(display, nullptr) << "no X display (run under xvfb-run)";
    }
    void TearDown() override {
        if (display != nullptr)
            XCloseDisplay(display);
    }

private:
    Display* display = nullptr;
};

const auto* const displayEnvironment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

// Places in the main window (its own coordinates), as the window is built.
struct Spot {
    int x, y;
};
const Spot kPathField{300, 709};
const Spot kReopen{549, 709};
const Spot kNewItem{109, 676};
const Spot kUpdateItem{471, 676};
const Spot kDeleteItem{802, 676};
const Spot kSetTemplate{678, 709};
const Spot kUseTemplate{796, 709};
const Spot kExit{1071, 717};
const Spot kStrainSelector{293, 47};

// The result table's grid: its top, the header's height, the row height and
// the table's bottom; the edit table's first row.  After a listing that
// follows the open, every column of both tables is 70 pixels wide.
constexpr int kTableLeft = 10;
constexpr int kResultTop = 94;
constexpr int kResultHeader = 18;
constexpr int kRowHeight = 19;
constexpr int kResultBottom = 94 + 501;
constexpr int kEditRowMiddle = 598 + 15 + 9;
constexpr int kColumnWidth = 70;

Spot resultCell(int row, int col) {
    return {kTableLeft + kColumnWidth * col + kColumnWidth / 2,
            kResultTop + kResultHeader + kRowHeight * row + kRowHeight / 2};
}
Spot resultHeader(int col) {
    return {kTableLeft + kColumnWidth * col + kColumnWidth / 2, kResultTop + kResultHeader / 2};
}
Spot editCell(int col) {
    return {kTableLeft + kColumnWidth * col + kColumnWidth / 2, kEditRowMiddle};
}

// How many listed rows the result table shows, read from a screenshot of
// the main window: each listed row has a white (yellow when selected) cell
// just below its top border at x = 200, where the empty part of the table
// shows the window's grey.
int shownRows(const Picture& picture) {
    const Rgb white{255, 255, 255};
    const Rgb yellow{255, 255, 0};
    int rows = 0;
    for (int top = kResultTop + kResultHeader; top + 1 < kResultBottom; top += kRowHeight) {
        const Rgb pixel = picture.at(200, top + 1);
        if (!(pixel == white || pixel == yellow))
            break;
        ++rows;
    }
    return rows;
}
// Rows that fit in the table: a full listing shows at least this many.
constexpr int kRowsThatFit = (kResultBottom - kResultTop - kResultHeader) / kRowHeight;

// One CSV record per entry; fields unquoted ("" inside quotes is one ").
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool inQuotes = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            inQuotes = true;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
        } else if (c == '\n') {
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !record.empty()) {
        record.push_back(field);
        records.push_back(record);
    }
    return records;
}

// StockTable as the database tool exports it.
struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> records; // in the file's order
    std::map<std::string, std::vector<std::string>> byKey;
};

Table readTable(const std::string& database) {
    Table table;
    const std::string csv = desktop::capture(std::string(RACKBOOK_DB_BINARY) + " export-csv '" +
                                             database + "' 2>/dev/null");
    std::vector<std::vector<std::string>> rows = parseCsv(csv);
    if (rows.empty())
        return table;
    table.columns = rows.front();
    table.records.assign(rows.begin() + 1, rows.end());
    for (const std::vector<std::string>& record : table.records)
        table.byKey[record.at(0)] = record;
    return table;
}

int columnIndex(const Table& table, const std::string& name) {
    const auto at = std::find(table.columns.begin(), table.columns.end(), name);
    return at == table.columns.end() ? -1 : static_cast<int>(at - table.columns.begin());
}

std::string joined(const std::vector<std::string>& texts, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i == 0 ? "" : separator) + texts[i];
    return out;
}

// The save's statements for a record of texts in column order.
std::string valuePiece(const Table& table, size_t c, const std::string& value) {
    return table.columns[c] == "Dates_ID" ? "#" + value + "#" : "'" + value + "'";
}
std::string updateStatement(const Table& table, const std::vector<std::string>& record,
                            const std::string& oldKey) {
    std::vector<std::string> pieces;
    for (size_t c = 0; c < table.columns.size(); ++c)
        pieces.push_back(table.columns[c] + "=" + valuePiece(table, c, record[c]));
    return "UPDATE StockTable SET " + joined(pieces, ", ") + " WHERE " + table.columns[0] + "='" +
           oldKey + "'";
}
std::string insertStatement(const Table& table, const std::vector<std::string>& record) {
    std::vector<std::string> values;
    for (size_t c = 0; c < table.columns.size(); ++c)
        values.push_back(valuePiece(table, c, record[c]));
    return "INSERT INTO StockTable (" + joined(table.columns, ", ") + ") VALUES (" +
           joined(values, ", ") + ");";
}

std::vector<std::string> progressLines() {
    std::vector<std::string> lines;
    for (int i = 1; i <= 9; ++i)
        lines.push_back("update 0" + std::to_string(i));
    return lines;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

class FirstSession : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/rackbook-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        database = folder + "/stock.mdb";
        // The program finds its icon in ./images, as when started from its
        // own folder.
        fs::create_directories(folder + "/images");
        fs::copy_file(ICON_FILE, folder + "/images/rackbook.ico");
        const std::string demo = std::string(RACKBOOK_DB_BINARY) + " demo '" + database +
                                 "' --records 60 --seed 7 >/dev/null";
        ASSERT_EQ(std::system(demo.c_str()), 0);
        original = readWholeFile(database);
        before = readTable(database);
        ASSERT_EQ(before.records.size(), 60u);
        fs::create_directories(SCREENSHOT_DIR);
        // The built driver, unless the caller chose a driver configuration.
        setenv("ODBCSYSINI", MDBLITE_ODBCSYSINI, 0);
        desktop::parkPointer();
    }

    void TearDown() override {
        // The program's own records of the session stay beside the
        // screenshots for whoever looks into a failure.
        for (const char* name : {"stdout.txt", "stderr.txt", "trace.log"}) {
            std::error_code ignored;
            fs::copy_file(folder + "/" + name, std::string(SCREENSHOT_DIR) + "/" + name,
                          fs::copy_options::overwrite_existing, ignored);
        }
        desktop::parkPointer();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Saves a screenshot of `window` as screenshots/NN-<name>.png and
    // returns its path.
    std::string shoot(const std::string& window, const std::string& name) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d-", ++shots);
        const std::string path = std::string(SCREENSHOT_DIR) + "/" + number + name + ".png";
        EXPECT_TRUE(desktop::screenshot(window, path)) << path;
        return path;
    }

    // Waits until the program has run `count` statements and released its
    // connection; some drawing may still be on its way.
    bool waitForStatements(ProgramRun& program, size_t count) {
        return desktop::waitFor(
            [&] { return program.statements().size() >= count && program.idle(); }, 15);
    }

    // Waits until a screenshot of the main window shows `rows` listed rows
    // (a repaint may lag behind the statement) and keeps that screenshot.
    // A full listing counts as `rows` when it shows at least that many.
    int waitForShownRows(const std::string& window, const std::string& name, int rows,
                         bool full = false) {
        int shown = -1;
        desktop::waitFor(
            [&] {
                shown = shownRows(Picture::read(shoot(window, name)));
                --shots; // the retries overwrite one file
                return shown == rows || (full && shown >= rows);
            },
            5);
        ++shots;
        return shown;
    }

    // Writes the step and the seconds since the start to the test's output,
    // for whoever reads a failure.
    void step(const std::string& what) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::fprintf(stderr, "[%6.1f s] %s\n", seconds, what.c_str());
    }

    void clickAt(const std::string& window, Spot spot) {
        desktop::click(window, spot.x, spot.y);
        usleep(150 * 1000);
    }

    std::string folder;
    std::string database;
    std::string original;
    Table before;
    int shots = 0;
    const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

TEST_F(FirstSession, OpenBrowseEditAddDeleteAndLeave) {
    ProgramRun program(RACKBOOK_BINARY, folder);
    const std::string main =
        desktop::waitForWindowTitled("^Rackbook, ver 1\\.12 /14\\.12\\.2008$", 20);
    ASSERT_FALSE(main.empty()) << "the main window did not appear";
    shoot(main, "started");

    const int date = columnIndex(before, "Dates_ID");
    const int strain = columnIndex(before, "Strain");
    const int mutation = columnIndex(before, "Mutation");
    ASSERT_EQ(before.columns.size(), 11u);
    ASSERT_GT(date, 3);
    ASSERT_GT(strain, 3);
    ASSERT_GT(mutation, 3);
    std::vector<std::string> dates;
    std::set<std::string> strains;
    for (const std::vector<std::string>& record : before.records) {
        dates.push_back(record[date]);
        strains.insert(record[strain]);
    }
    const std::string firstDate = *std::min_element(dates.begin(), dates.end());
    const std::string lastDate = *std::max_element(dates.begin(), dates.end());
    const std::string listAll = "SELECT * from StockTable WHERE Dates_ID between #" + firstDate +
                                "# and #" + lastDate + "#";
    std::vector<std::string> expectedOutput;

    step("type the path");
    // Type the path into "Path:" and leave the field with Tab: the database
    // opens, is backed up and listed in full.
    clickAt(main, kPathField);
    desktop::type(database);
    desktop::keys("Tab");
    ASSERT_TRUE(waitForStatements(program, 1));
    ASSERT_TRUE(desktop::waitFor(
        [&] {
            const std::vector<std::string> s = program.statements();
            return std::count(s.begin(), s.end(), listAll) == 1 && program.idle();
        },
        15))
        << "no full listing after leaving the Path field; statements:\n"
        << joined(program.statements(), "\n");
    expectedOutput.push_back(database);
    EXPECT_EQ(program.outputLines(), expectedOutput);
    EXPECT_EQ(readWholeFile(folder + "/backup/stock.mdb"), original)
        << "the backup is not a copy of the database";
    EXPECT_GE(waitForShownRows(main, "opened", kRowsThatFit, true), kRowsThatFit);

    step("re-open");
    // Re-open loads it again.
    const size_t openedStatements = program.statements().size();
    clickAt(main, kReopen);
    ASSERT_TRUE(desktop::waitFor(
        [&] {
            const std::vector<std::string> s = program.statements();
            return s.size() >= 2 * openedStatements && s.back() == listAll && program.idle();
        },
        15));
    expectedOutput.push_back(database);
    EXPECT_EQ(program.outputLines(), expectedOutput);
    EXPECT_EQ(program.statements().size(), 2 * openedStatements)
        << "Re-open runs the statements of an open once more";
    EXPECT_GE(waitForShownRows(main, "reopened", kRowsThatFit, true), kRowsThatFit);

    step("selector");
    // Choose the first value of the Strain selector with the keyboard: the
    // menu opens on "*", one step down is the first value in sorted order.
    const std::string chosen = *strains.begin();
    std::vector<std::vector<std::string>> ofStrain;
    for (const std::vector<std::string>& record : before.records) {
        if (record[strain] == chosen)
            ofStrain.push_back(record);
    }
    ASSERT_GE(ofStrain.size(), 2u) << "the demo data should give the sort something to do";
    ASSERT_LT(static_cast<int>(ofStrain.size()), kRowsThatFit);
    const std::set<std::string> windowsBefore = desktop::topLevelWindows();
    clickAt(main, kStrainSelector);
    const std::string menu = desktop::waitForNewWindow(windowsBefore, 5);
    EXPECT_FALSE(menu.empty()) << "the selector's menu did not open";
    shoot("root", "selector-menu");
    desktop::keys("Down Return");
    const std::string listStrain = "SELECT * from StockTable WHERE Strain='" + chosen +
                                   "' and Dates_ID between #" + firstDate + "# and #" + lastDate +
                                   "#";
    ASSERT_TRUE(desktop::waitFor(
        [&] { return program.statements().back() == listStrain && program.idle(); }, 15))
        << "last statement: " << program.statements().back();
    EXPECT_EQ(waitForShownRows(main, "filtered", static_cast<int>(ofStrain.size())),
              static_cast<int>(ofStrain.size()))
        << "the listing should shrink to the records of " << chosen;

    step("sort");
    // Two clicks on the Index_ID header sort descending: the first row is
    // then the record with the greatest key.
    clickAt(main, resultHeader(0));
    usleep(400 * 1000);
    clickAt(main, resultHeader(0));
    usleep(300 * 1000);
    shoot(main, "sorted-descending");
    std::vector<std::string> greatest = ofStrain.front();
    for (const std::vector<std::string>& record : ofStrain) {
        if (record[0] > greatest[0])
            greatest = record;
    }

    step("load a record");
    // Click the first record: the edit row holds it.  The edit row is seen
    // through the template, whose texts the program writes out.
    clickAt(main, resultCell(0, 1));
    shoot(main, "record-loaded");
    clickAt(main, kSetTemplate);
    clickAt(main, kUseTemplate);
    expectedOutput.push_back("");
    expectedOutput.insert(expectedOutput.end(), greatest.begin() + 1, greatest.end());
    EXPECT_TRUE(desktop::waitFor([&] { return program.outputLines() == expectedOutput; }, 5))
        << "standard output:\n"
        << program.standardOutput();

    step("update");
    // Load it again, change its Mutation in place and save it.
    clickAt(main, resultCell(0, 1));
    const Spot mutationCell = editCell(mutation);
    desktop::doubleClick(main, mutationCell.x, mutationCell.y);
    usleep(300 * 1000);
    desktop::keys("ctrl+a");
    desktop::type("E2E K99A");
    desktop::keys("Return");
    usleep(200 * 1000);
    shoot(main, "cell-edited");
    clickAt(main, kUpdateItem);
    std::vector<std::string> changed = greatest;
    changed[mutation] = "E2E K99A";
    append(expectedOutput, progressLines());
    expectedOutput.push_back(updateStatement(before, changed, greatest[0]));
    EXPECT_TRUE(desktop::waitFor(
        [&] { return program.outputLines() == expectedOutput && program.idle(); }, 15))
        << "standard output:\n"
        << program.standardOutput();
    EXPECT_EQ(program.statements().back(), listStrain) << "the save lists again";
    shoot(main, "updated");
    Table afterUpdate = readTable(database);
    EXPECT_EQ(afterUpdate.byKey[greatest[0]], changed);
    afterUpdate.byKey[greatest[0]] = greatest;
    EXPECT_EQ(afterUpdate.byKey, before.byKey) << "the update changed other records";

    step("new item");
    // New Item, then fill a free place cell by cell (Tab goes to the next
    // column), a strain and a date, and save.
    clickAt(main, kNewItem);
    const Spot rackCell = editCell(1);
    desktop::doubleClick(main, rackCell.x, rackCell.y);
    usleep(300 * 1000);
    desktop::type("9");
    desktop::keys("Tab");
    desktop::type("9");
    desktop::keys("Tab");
    desktop::type("Z9");
    desktop::keys("Tab");
    desktop::type("E2E strain");
    desktop::keys("Return");
    usleep(200 * 1000);
    const Spot dateCell = editCell(date);
    desktop::doubleClick(main, dateCell.x, dateCell.y);
    usleep(300 * 1000);
    desktop::type("2008-12-24");
    desktop::keys("Return");
    usleep(200 * 1000);
    shoot(main, "new-item-filled");
    ASSERT_EQ(before.byKey.count("9_9_Z9"), 0u) << "the place must be free";
    clickAt(main, kUpdateItem);
    std::vector<std::string> added(before.columns.size());
    added[0] = "9_9_Z9";
    added[1] = "9";
    added[2] = "9";
    added[3] = "Z9";
    added[4] = "E2E strain";
    added[date] = "2008-12-24";
    append(expectedOutput, progressLines());
    expectedOutput.push_back(insertStatement(before, added));
    EXPECT_TRUE(desktop::waitFor(
        [&] { return program.outputLines() == expectedOutput && program.idle(); }, 15))
        << "standard output:\n"
        << program.standardOutput();
    // The save reads the date range again: the new record is the latest.
    const std::string listStrainToNewDate = "SELECT * from StockTable WHERE Strain='" + chosen +
                                            "' and Dates_ID between #" + firstDate +
                                            "# and #2008-12-24#";
    EXPECT_EQ(program.statements().back(), listStrainToNewDate);
    shoot(main, "inserted");
    const Table afterInsert = readTable(database);
    EXPECT_EQ(afterInsert.records.size(), 61u);
    ASSERT_EQ(afterInsert.byKey.count("9_9_Z9"), 1u) << "the new record is not in the database";
    EXPECT_EQ(afterInsert.byKey.at("9_9_Z9"), added);

    step("delete declined");
    // Load the first listed record and press Delete Item: Escape declines
    // the question and nothing is deleted.
    clickAt(main, resultCell(0, 1));
    std::set<std::string> windowsNow = desktop::topLevelWindows();
    clickAt(main, kDeleteItem);
    std::string question = desktop::waitForNewWindow(windowsNow, 5);
    ASSERT_FALSE(question.empty()) << "no delete question";
    desktop::focus(question); // the window manager's part: a new window gets the keyboard
    shoot(question, "delete-question");
    const size_t statementsBeforeDelete = program.statements().size();
    desktop::keys("Escape");
    EXPECT_TRUE(desktop::waitUntilGone(question, 5));
    usleep(300 * 1000);
    EXPECT_EQ(program.statements().size(), statementsBeforeDelete);
    EXPECT_EQ(readTable(database).records.size(), 61u);

    step("delete");
    // Asked again, the focused first button is "OK": Space answers it.
    windowsNow = desktop::topLevelWindows();
    clickAt(main, kDeleteItem);
    question = desktop::waitForNewWindow(windowsNow, 5);
    ASSERT_FALSE(question.empty()) << "no delete question the second time";
    desktop::focus(question);
    shoot(question, "delete-question-again");
    desktop::keys("space");
    EXPECT_TRUE(desktop::waitUntilGone(question, 5));
    ASSERT_TRUE(desktop::waitFor(
        [&] {
            const std::vector<std::string> s = program.statements();
            return s.size() >= statementsBeforeDelete + 2 && s.back() == listStrainToNewDate &&
                   program.idle();
        },
        15));
    const std::vector<std::string> afterDeleteStatements = program.statements();
    const std::string deleteStatement = afterDeleteStatements[statementsBeforeDelete];
    const std::string deletePrefix = "DELETE FROM StockTable WHERE Index_ID='";
    ASSERT_EQ(deleteStatement.rfind(deletePrefix, 0), 0u) << deleteStatement;
    const std::string deletedKey = deleteStatement.substr(
        deletePrefix.size(), deleteStatement.size() - deletePrefix.size() - 1);
    EXPECT_TRUE(std::any_of(ofStrain.begin(), ofStrain.end(),
                            [&](const auto& record) { return record[0] == deletedKey; }))
        << "deleted " << deletedKey << ", which was not listed";
    const Table afterDelete = readTable(database);
    EXPECT_EQ(afterDelete.records.size(), 60u);
    EXPECT_EQ(afterDelete.byKey.count(deletedKey), 0u);
    EXPECT_EQ(waitForShownRows(main, "deleted", static_cast<int>(ofStrain.size()) - 1),
              static_cast<int>(ofStrain.size()) - 1);

    step("alert");
    // The edit row is empty now: Delete Item says so in an alert, which
    // Return closes; nothing reaches the database.
    windowsNow = desktop::topLevelWindows();
    clickAt(main, kDeleteItem);
    const std::string alert = desktop::waitForNewWindow(windowsNow, 5);
    ASSERT_FALSE(alert.empty()) << "no alert for deleting a new item";
    desktop::focus(alert);
    shoot(alert, "alert");
    desktop::keys("Return");
    EXPECT_TRUE(desktop::waitUntilGone(alert, 5)) << "Return did not close the alert";
    usleep(300 * 1000);
    EXPECT_EQ(program.statements(), afterDeleteStatements);
    shoot(main, "alert-closed");

    step("exit");
    // Exit ends the program with status 0.
    clickAt(main, kExit);
    EXPECT_EQ(program.waitForExit(10), 0);
    EXPECT_EQ(program.outputLines(), expectedOutput);
    EXPECT_EQ(program.standardError(), "");
}

} // namespace
