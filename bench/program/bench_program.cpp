// How fast the whole program opens and browses a database, against the cost
// of its statements alone.
//
// For demo databases of 1 000, 10 000 and 100 000 records (made by the
// database tool), in-process with the real widgets on a display: the open
// sequence step by step (backup, column discovery, selectors and dates,
// listing, column widths, edit row), the whole open_database, and a selector
// change (the Strain selector on its first value, then back on "*").  The
// same statements (and the catalogue call of the column discovery) are then
// run alone through the driver manager and the project's driver, binding
// every result column into a 256-byte buffer and fetching every row, and the
// ratio of the two is printed.  The statements are the program's own, taken
// from the driver's statement log during an untimed first run.
//
// Usage: bench_program [--runs R] [N ...]   (default: --runs 3 1000 10000 100000)
// Needs a display (xvfb-run -a) and finds the built driver by itself.
#include "app/AboutWindow.h"
#include "app/ApplicationState.h"
#include "app/MainWindow.h"
#include "browse/Listing.h"
#include "db/ColumnDiscovery.h"
#include "db/Selectors.h"
#include "edit/EditRow.h"
#include "file/Backup.h"
#include "file/OpenDatabase.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <sql.h>
#include <sqlext.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <X11/Xlib.h> // last: its macros would reach the headers above

namespace {

namespace fs = std::filesystem;

// The statements of one connection, as the driver logged them; a
// connection that ran none asked the catalogue for the columns.
struct LoggedConnection {
    std::vector<std::string> statements;
};

// Reads the driver's log: one entry per connection (alloc env .. free env).
std::vector<LoggedConnection> readLog(const std::string& path) {
    std::vector<LoggedConnection> connections;
    std::ifstream in(path);
    bool open = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("alloc env ", 0) == 0) {
            connections.emplace_back();
            open = true;
        } else if (line.rfind("free env ", 0) == 0) {
            open = false;
        } else if (open && line.rfind("exec ", 0) == 0) {
            connections.back().statements.push_back(line.substr(5));
        }
    }
    return connections;
}

// Runs `body` with the driver's statement log going to `path`.
std::vector<LoggedConnection> logged(const std::string& path, const std::function<void()>& body) {
    fs::remove(path);
    setenv("MDBLITE_TRACE", path.c_str(), 1);
    body();
    unsetenv("MDBLITE_TRACE");
    return readLog(path);
}

double nowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double timedMs(const std::function<void()>& body) {
    const double start = nowMs();
    body();
    return nowMs() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// ---- the statements alone, through the driver manager ------------------

bool ok(SQLRETURN r) {
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

// Binds every result column as text into 256-byte buffers and fetches every
// row; returns the number of rows.
long fetchAll(SQLHSTMT statement) {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(statement, &columns);
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(256));
    std::vector<SQLLEN> indicators(columns);
    for (SQLSMALLINT c = 0; c < columns; ++c)
        SQLBindCol(statement, c + 1, SQL_C_CHAR, buffers[c].data(), 256, &indicators[c]);
    long rows = 0;
    while (ok(SQLFetch(statement)))
        ++rows;
    SQLFreeStmt(statement, SQL_CLOSE);
    SQLFreeStmt(statement, SQL_UNBIND);
    return rows;
}

// One connection as the program makes it, running `connection`'s
// statements (or the catalogue call when it has none).  False on failure.
bool replay(const std::string& database, const LoggedConnection& connection) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    bool good = ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)) &&
                ok(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                 reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) &&
                ok(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc));
    std::string text = "DBQ=" + database + ";DRIVER={Microsoft Access Driver (*.mdb)};";
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const bool connected =
        good && ok(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                                    out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT));
    good = connected && ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement));
    if (good && connection.statements.empty()) {
        SQLCHAR table[] = "StockTable";
        good = ok(SQLColumns(statement, nullptr, 0, nullptr, 0, table, SQL_NTS, nullptr, 0)) &&
               fetchAll(statement) > 0;
    }
    for (const std::string& s : connection.statements) {
        if (!good)
            break;
        std::string copy = s;
        good = ok(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(copy.data()),
                                static_cast<SQLINTEGER>(copy.size())));
        if (good)
            fetchAll(statement);
    }
    if (statement != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
    if (connected)
        SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    return good;
}

double replayMs(const std::string& database, const std::vector<LoggedConnection>& connections) {
    return timedMs([&] {
        for (const LoggedConnection& c : connections) {
            if (!replay(database, c))
                std::fprintf(stderr, "a statement failed on its own\n");
        }
    });
}

// ---- the program's side --------------------------------------------------

// The steps of open_database, in its order.
const char* const kSteps[] = {"backup",  "column discovery", "selectors and dates",
                              "listing", "column widths",    "edit row"};
constexpr int kStepCount = 6;

void runOpenStep(int step, const std::string& path) {
    switch (step) {
    case 0:
        makeBackup(path);
        break;
    case 1:
        set_column_names(path);
        set_selector_labels();
        break;
    case 2:
        set_selectors(path);
        break;
    case 3:
        checkState();
        break;
    case 4:
        appState.mainTable->fitColumnWidths(3);
        break;
    default:
        newItem();
        setup_edit_table(appState.editTable);
        Fl::check();
        break;
    }
}

// The selector whose first value the benchmark chooses.
constexpr int kStrainSelector = 3;

// The user picks the selector's item `index`; its callback lists again.
void chooseSelectorItem(int index) {
    appState.selectors[kStrainSelector]->value(index);
    checkState();
}

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void printRow(const char* name, double program, double alone) {
    if (alone > 0)
        std::printf("  %-26s %10.1f %12.1f   x%.2f\n", name, program, alone, program / alone);
    else
        std::printf("  %-26s %10.1f %12s\n", name, program, "");
}

bool makeDemo(const std::string& path, int records) {
    const std::string command = std::string(RACKBOOK_DB_BINARY) + " demo '" + path +
                                "' --records " + std::to_string(records) + " --seed 1 >/dev/null";
    return std::system(command.c_str()) == 0;
}

// Measures one database size; false when something did not work.
bool benchSize(const std::string& folder, int records, int runs) {
    const std::string path = folder + "/demo-" + std::to_string(records) + ".mdb";
    if (!makeDemo(path, records)) {
        std::fprintf(stderr, "could not make %s\n", path.c_str());
        return false;
    }
    appState.pathInput->value(path.c_str());
    const std::string log = folder + "/trace.log";

    // Untimed first run: warms the caches and logs the statements.
    const std::vector<LoggedConnection> openLog = logged(log, [&] { open_database(path); });
    const int listed = appState.mainTable->dataRowCount();
    const std::string chosen = appState.selectors[kStrainSelector]->text(1)
                                   ? appState.selectors[kStrainSelector]->text(1)
                                   : "";
    const std::vector<LoggedConnection> selectLog = logged(log, [] { chooseSelectorItem(1); });
    const int selected = appState.mainTable->dataRowCount();
    const std::vector<LoggedConnection> allLog = logged(log, [] { chooseSelectorItem(0); });
    if (openLog.size() != 3 || selectLog.size() != 1 || allLog.size() != 1 || listed != records) {
        std::fprintf(stderr, "unexpected run: %zu connections at open, %d of %d records listed\n",
                     openLog.size(), listed, records);
        return false;
    }

    std::vector<std::vector<double>> steps(kStepCount);
    std::vector<double> whole, select, all, aloneSteps[3], aloneOpen, aloneSelect, aloneAll;
    for (int run = 0; run < runs; ++run) {
        for (int s = 0; s < kStepCount; ++s)
            steps[s].push_back(timedMs([&] { runOpenStep(s, path); }));
        whole.push_back(timedMs([&] { open_database(path); }));
        select.push_back(timedMs([] { chooseSelectorItem(1); }));
        all.push_back(timedMs([] { chooseSelectorItem(0); }));
        double open = 0;
        for (int c = 0; c < 3; ++c) {
            aloneSteps[c].push_back(replayMs(path, {openLog[c]}));
            open += aloneSteps[c].back();
        }
        aloneOpen.push_back(open);
        aloneSelect.push_back(replayMs(path, selectLog));
        aloneAll.push_back(replayMs(path, allLog));
    }

    std::printf("\n%d records (listed %d; Strain = %s lists %d), median of %d runs, ms\n", records,
                listed, chosen.c_str(), selected, runs);
    std::printf("  %-26s %10s %12s   %s\n", "", "program", "statements", "ratio");
    double sum = 0;
    for (int s = 0; s < kStepCount; ++s) {
        const double program = median(steps[s]);
        sum += program;
        // Steps 1 to 3 are the three connections of the open.
        printRow(kSteps[s], program, (s >= 1 && s <= 3) ? median(aloneSteps[s - 1]) : 0);
    }
    printRow("sum of the steps", sum, median(aloneOpen));
    printRow("open_database, whole", median(whole), median(aloneOpen));
    printRow("selector change", median(select), median(aloneSelect));
    printRow("selector back to \"*\"", median(all), median(aloneAll));
    std::printf("  peak memory so far (ru_maxrss) %.1f MB\n", peakMemoryKb() / 1024.0);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
        else {
            std::fprintf(stderr, "usage: %s [--runs R] [N ...]\n", argv[0]);
            return 2;
        }
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    // The toolkit ends the process when it finds no display; say why first.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr,
                     "bench_program needs an X display for the real widgets; run it as\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    XCloseDisplay(display);
    // The built driver, unless the caller chose a driver configuration.
    setenv("ODBCSYSINI", MDBLITE_ODBCSYSINI, 0);

    char pattern[] = "/tmp/rackbook-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    const std::string folder = pattern;

    buildAboutWindow();
    buildMainWindow();
    set_title_and_help();
    appState.mainWindow->end();
    appState.mainWindow->show();
    Fl::check();

    std::printf("bench_program: the open sequence and a selector change with the real widgets,\n"
                "against the same statements alone through the driver manager and mdblite\n");
    std::printf("peak memory at start (ru_maxrss) %.1f MB\n", peakMemoryKb() / 1024.0);
    // open_database writes the path; keep the figures readable.
    std::cout.setstate(std::ios::failbit);
    bool good = true;
    for (int records : sizes)
        good = benchSize(folder, records, runs) && good;
    std::cout.clear();
    std::printf("\npeak memory (ru_maxrss) %.1f MB\n", peakMemoryKb() / 1024.0);

    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return good ? 0 : 1;
}
