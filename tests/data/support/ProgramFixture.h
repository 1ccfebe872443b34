// The fixture of the data path tests: the real main window with all its
// widgets (built once per process), a temporary folder for database files,
// the dialog seam recording every alert text and answering questions, the
// standard output captured, and the driver's trace file read for the
// statements run and the handles still allocated.
#pragma once

#include "support/StockDatabase.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A database file in the temporary folder, made with `columns` and
    // `statements`; returns its path.
    std::string makeDatabase(const std::string& name, const std::string& columns,
                             const std::vector<std::string>& statements = {});

    // Sets the Path field and runs the open sequence on it.
    void openDatabase(const std::string& path);

    // Standard output written since the test began (or since the last call).
    std::string takeStdout();

    // Makes the trace readers below start from now.
    void markTrace();

    // Statements the driver executed since the test began, in order.
    std::vector<std::string> executedStatements() const;
    // The driver's trace since the test began, handle ids left out
    // ("alloc env", "exec SELECT ...", "free stmt", ...).
    std::vector<std::string> traceEvents() const;
    // The first and the last of them; the empty text when none ran.
    std::string firstStatement() const;
    std::string lastStatement() const;
    // Handles allocated and not freed since the test began.
    int liveHandles() const;

    // Alert texts shown so far, in order, and how many driver handles were
    // allocated while each was on screen.
    std::vector<std::string> messages;
    std::vector<int> handlesDuringMessage;
    // Questions asked and the answer the seam gives (2 is the third button).
    std::vector<std::string> questions;
    std::vector<std::vector<std::string>> questionButtons;
    std::vector<const void*> questionIcons; // the message-icon box's image when asked
    int answer = 2;

    TempFolder folder;

private:
    std::vector<std::string> newTraceLines() const;
    long traceStart_ = 0;
    bool capturing_ = false;
};

// A stock database opened in the program before each test, for the tests of
// the save and the delete: its rows are kept to compare against afterwards,
// and every alert must come after the connection's release.
class EditingTest : public ProgramTest {
protected:
    // Makes "stock.mdb" with `columns` and `records` and opens it; no alert.
    void openStock(const std::string& columns, const std::vector<std::string>& records);
    void TearDown() override;

    // Loads the listed record with this key into the edit row, as a click does.
    void loadListed(const std::string& key);

    std::string path;
    std::vector<Row> before; // the table's rows right after the open
};

// Texts of the result table's stored rows.
std::vector<std::vector<std::string>> listedRows();
// The first text of every listed row, sorted.
std::vector<std::string> listedKeys();
// The items of a menu widget, in order.
std::vector<std::string> menuItems(const class Fl_Menu_& menu);
// The edit row's first n texts.
std::vector<std::string> editRow(int n);
