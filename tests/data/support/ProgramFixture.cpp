// The data path tests' fixture.
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "edit/EditRow.h"
#include "file/OpenDatabase.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_.H>
#include <FL/fl_ask.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace {

// One trace file for the whole process; each test reads what was added
// after it began.
std::string tracePath() {
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/rackbook-trace-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd >= 0)
            close(fd);
        return pattern;
    }();
    return path;
}

long traceSize() {
    std::ifstream trace(tracePath(), std::ios::binary | std::ios::ate);
    return trace ? static_cast<long>(trace.tellg()) : 0;
}

} // namespace

void ProgramTest::SetUpTestSuite() {
    if (appState.mainWindow != nullptr)
        return;
    setenv("MDBLITE_TRACE", tracePath().c_str(), 1);
    // The window stays unmapped: no focus change or exposure from a test
    // beside this one on the display can reach its widgets.  The display is
    // opened for the text measuring of the result table.
    fl_open_display();
    buildMainWindow();
    appState.mainWindow->end();
    Fl::check();
}

void ProgramTest::SetUp() {
    traceStart_ = traceSize();
    DialogSeam seam;
    seam.onMessage = [this](const std::string& text) {
        messages.push_back(text);
        handlesDuringMessage.push_back(liveHandles());
    };
    seam.onChoice = [this](const std::string& text, const char* b0, const char* b1,
                           const char* b2) {
        questions.push_back(text);
        questionIcons.push_back(fl_message_icon()->image());
        questionButtons.push_back({b0 ? b0 : "<none>", b1 ? b1 : "<none>", b2 ? b2 : "<none>"});
        return answer;
    };
    setDialogSeam(seam);
    ::testing::internal::CaptureStdout();
    capturing_ = true;
}

void ProgramTest::TearDown() {
    // Failure reports of the test went to the captured stream too.
    if (capturing_) {
        const std::string out = ::testing::internal::GetCapturedStdout();
        if (HasFailure())
            std::cerr << out;
    }
    capturing_ = false;
    setDialogSeam(DialogSeam{});
}

void ProgramTest::markTrace() {
    traceStart_ = traceSize();
}

std::string ProgramTest::takeStdout() {
    std::string out = ::testing::internal::GetCapturedStdout();
    ::testing::internal::CaptureStdout();
    return out;
}

std::string ProgramTest::makeDatabase(const std::string& name, const std::string& columns,
                                      const std::vector<std::string>& statements) {
    const std::string path = folder.path() + "/" + name;
    createStockDatabase(path, columns, statements);
    return path;
}

void ProgramTest::openDatabase(const std::string& path) {
    appState.pathInput->value(path.c_str());
    open_database(path);
}

std::vector<std::string> ProgramTest::newTraceLines() const {
    std::ifstream trace(tracePath(), std::ios::binary);
    trace.seekg(traceStart_);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(trace, line))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ProgramTest::executedStatements() const {
    std::vector<std::string> statements;
    for (const std::string& line : newTraceLines()) {
        if (line.rfind("exec ", 0) == 0)
            statements.push_back(line.substr(5));
    }
    return statements;
}

std::vector<std::string> ProgramTest::traceEvents() const {
    std::vector<std::string> events;
    for (const std::string& line : newTraceLines()) {
        if (line.rfind("exec ", 0) == 0) {
            events.push_back(line);
            continue;
        }
        std::istringstream words(line);
        std::string verb, kind;
        words >> verb >> kind;
        events.push_back(verb + " " + kind);
    }
    return events;
}

std::string ProgramTest::firstStatement() const {
    const std::vector<std::string> statements = executedStatements();
    return statements.empty() ? std::string() : statements.front();
}

std::string ProgramTest::lastStatement() const {
    const std::vector<std::string> statements = executedStatements();
    return statements.empty() ? std::string() : statements.back();
}

int ProgramTest::liveHandles() const {
    std::map<std::string, int> live;
    for (const std::string& line : newTraceLines()) {
        std::istringstream words(line);
        std::string verb, kind, id;
        words >> verb >> kind >> id;
        if (verb == "alloc")
            ++live[kind + " " + id];
        else if (verb == "free")
            --live[kind + " " + id];
    }
    int count = 0;
    for (const auto& entry : live)
        count += entry.second;
    return count;
}

std::vector<std::vector<std::string>> listedRows() {
    std::vector<std::vector<std::string>> rows;
    for (const ResultRow& row : appState.mainTable->rowData)
        rows.push_back(row.texts);
    return rows;
}

std::vector<std::string> listedKeys() {
    std::vector<std::string> keys;
    for (const ResultRow& row : appState.mainTable->rowData)
        keys.push_back(row.texts.empty() ? std::string() : row.texts[0]);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<std::string> menuItems(const Fl_Menu_& menu) {
    std::vector<std::string> items;
    for (int i = 0; i + 1 < menu.size(); ++i) {
        const char* text = menu.menu()[i].text;
        items.push_back(text ? text : "<null>");
    }
    return items;
}

std::vector<std::string> editRow(int n) {
    std::vector<std::string> row;
    for (int c = 0; c < n; ++c)
        row.push_back(appState.editTable->getCell(0, c));
    return row;
}

void EditingTest::openStock(const std::string& columns, const std::vector<std::string>& records) {
    path = makeDatabase("stock.mdb", columns, records);
    openDatabase(path);
    ASSERT_EQ(messages, std::vector<std::string>{});
    takeStdout();
    before = stockRows(path);
    markTrace();
}

void EditingTest::TearDown() {
    for (size_t i = 0; i < handlesDuringMessage.size(); ++i)
        EXPECT_EQ(handlesDuringMessage[i], 0) << messages[i];
    ProgramTest::TearDown();
}

void EditingTest::loadListed(const std::string& key) {
    for (const ResultRow& row : appState.mainTable->rowData) {
        if (!row.texts.empty() && row.texts[0] == key) {
            loadEditRow(row.texts);
            return;
        }
    }
    ADD_FAILURE() << key << " is not listed";
}
