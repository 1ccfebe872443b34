// Times the data path on a table of N records (default 20000): the whole
// open sequence, a filtered listing, a search, a save and a delete, each on
// the real widgets through the driver manager and the project's driver.
// Prints one line per operation with the median of a few runs.
#include "app/ApplicationState.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "browse/Listing.h"
#include "browse/Search.h"
#include "edit/DeleteRecord.h"
#include "edit/SaveRecord.h"
#include "file/OpenDatabase.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A database of `records` rows spread over racks, boxes and positions.
void makeDatabase(const std::string& path, int records) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=DELETE; CREATE TABLE StockTable (Index_ID TEXT(255) "
                 "PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, Position TEXT, Strain TEXT, Plasmid "
                 "TEXT, Subunit TEXT, Mutation TEXT, Antibiotic TEXT, Dates_ID DATETIME, Comments "
                 "MEMO); BEGIN",
                 nullptr, nullptr, nullptr);
    for (int i = 0; i < records; ++i) {
        const std::string rack = "R" + std::to_string(i / 1000);
        const std::string box = "B" + std::to_string(i / 100 % 10);
        const std::string position = std::to_string(i % 100);
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d 00:00:00", 2000 + i % 20, 1 + i % 12,
                      1 + i % 28);
        const std::string sql = "INSERT INTO StockTable VALUES ('" + rack + "_" + box + "_" +
                                position + "', '" + rack + "', '" + box + "', '" + position +
                                "', 'strain " + std::to_string(i % 50) + "', 'p" +
                                std::to_string(i % 7) + "', 's', 'm" + std::to_string(i % 3) +
                                "', 'amp', '" + date + "', 'comment " + std::to_string(i) + "')";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Median wall time of `runs` calls, in milliseconds.
double medianMs(int runs, const std::function<void()>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        operation();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::atoi(argv[1]) : 20000;
    char folder[] = "/tmp/rackbook-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    const std::string path = std::string(folder) + "/stock.mdb";
    makeDatabase(path, records);

    int alerts = 0;
    DialogSeam seam;
    seam.onMessage = [&alerts](const std::string& text) {
        ++alerts;
        std::cerr << "alert: " << text << "\n";
    };
    seam.onChoice = [](const std::string&, const char*, const char*, const char*) { return 2; };
    setDialogSeam(seam);
    buildMainWindow();
    appState.mainWindow->end();
    appState.mainWindow->show();
    Fl::check();
    appState.pathInput->value(path.c_str());

    // The progress lines of the save would drown the figures.
    std::cout.setstate(std::ios::failbit);
    const int runs = 5;
    const double open = medianMs(runs, [&] { open_database(path); });
    const int listed = appState.mainTable->dataRowCount();
    const double listing = medianMs(runs, [] { checkState(); });
    appState.selectors[0]->value(1);
    const double filtered = medianMs(runs, [] { checkState(); });
    appState.searchFieldChoice->value(10);
    appState.searchInput->value("comment 12");
    const double search = medianMs(runs, [] { search_cb(); });
    int next = 0;
    const double insert = medianMs(runs, [&next] {
        const std::vector<std::string> row = {"",  "N", "N", std::to_string(next++), "x", "p",
                                              "s", "m", "a", "2001-01-01",           ""};
        for (size_t c = 0; c < row.size(); ++c)
            appState.editTable->setCell(0, static_cast<int>(c), row[c]);
        updateItem();
    });
    int gone = 0;
    const double remove = medianMs(runs, [&gone] {
        appState.editTable->setCell(0, 0, "N_N_" + std::to_string(gone++));
        deleteItem();
    });
    std::cout.clear();

    std::printf("records %d (listed %d), median of %d runs, alerts %d\n", records, listed, runs,
                alerts);
    std::printf("open_database         %9.1f ms\n", open);
    std::printf("checkState, all       %9.1f ms\n", listing);
    std::printf("checkState, one rack  %9.1f ms\n", filtered);
    std::printf("search_cb             %9.1f ms\n", search);
    std::printf("updateItem (insert)   %9.1f ms\n", insert);
    std::printf("deleteItem            %9.1f ms\n", remove);

    unlink(path.c_str());
    const std::string backup = std::string(folder) + "/backup";
    unlink((backup + "/stock.mdb").c_str());
    rmdir(backup.c_str());
    rmdir(folder);
    return alerts == 0 ? 0 : 1;
}
