// Two programs on one database file at the same time: two worker processes
// save, list and delete, one connection per operation as the program does,
// and also race for the same places. No statement may fail for a lock that a
// wait would have given, and no record may be lost, doubled or cut.
#include "ChildProcess.h"
#include "DriverTestSupport.h"
#include "FaultRecords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

using namespace drivertest;
using faulttest::ChildProcess;

namespace {

struct Ledger {
    std::map<std::string, int> own; // key -> version
    std::set<int> sharedTried;
    std::set<int> sharedWon;
    std::vector<std::string> failures;
};

Ledger readLedger(ChildProcess& worker) {
    Ledger ledger;
    for (const std::string& line : worker.remainingLines()) {
        char key[256] = "";
        int number = 0;
        if (std::sscanf(line.c_str(), "own %255s %d", key, &number) == 2)
            ledger.own[key] = number;
        else if (std::sscanf(line.c_str(), "tried %d", &number) == 1)
            ledger.sharedTried.insert(number);
        else if (std::sscanf(line.c_str(), "won %d", &number) == 1)
            ledger.sharedWon.insert(number);
        else
            ledger.failures.push_back(line);
    }
    return ledger;
}

TEST(TwoProcesses, SavingListingAndDeletingOnOneFileLoseNothing) {
    // Operations per worker: a few hundred keep the suite quick; set
    // FAULTS_OPERATIONS for a longer run.
    const char* asked = std::getenv("FAULTS_OPERATIONS");
    const int operations = asked ? std::atoi(asked) : 400;
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00")});

    ChildProcess first(FAULTS_WORKER, {"mix", db, "P", std::to_string(operations), "11"});
    ChildProcess second(FAULTS_WORKER, {"mix", db, "Q", std::to_string(operations), "29"});
    ASSERT_TRUE(first.started() && second.started());
    Ledger p = readLedger(first);
    Ledger q = readLedger(second);
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);
    ASSERT_TRUE(p.failures.empty()) << p.failures[0];
    ASSERT_TRUE(q.failures.empty()) << q.failures[0];

    EXPECT_EQ(sqliteQuery(db, "PRAGMA integrity_check"), (Rows{{"ok"}}));
    std::map<std::string, std::map<std::string, int>> stored; // rack -> key -> version
    for (const Row& row : sqliteQuery(db, "SELECT Index_ID, Rack, Strain, Comments FROM "
                                          "StockTable WHERE Rack IN ('P', 'Q', 'S')")) {
        int version = faulttest::versionOf(row[2].value_or(""));
        EXPECT_EQ(row[3], faulttest::commentFor(version, faulttest::kShortComment)) << *row[0];
        stored[*row[1]][*row[0]] = version;
    }
    EXPECT_EQ(stored["P"], p.own);
    EXPECT_EQ(stored["Q"], q.own);
    EXPECT_GT(p.own.size() + q.own.size(), 100u) << "the workers saved hardly anything";

    // Every shared place that either went for is held once, saved by the
    // one that won it and refused to the other.
    std::set<std::string> expected;
    for (const std::set<int>* tried : {&p.sharedTried, &q.sharedTried})
        for (int position : *tried)
            expected.insert("S_B_" + std::to_string(position));
    std::set<std::string> held;
    for (const auto& [key, version] : stored["S"])
        held.insert(key);
    EXPECT_EQ(held, expected);
    std::set<int> wonByBoth;
    for (int position : p.sharedWon)
        if (q.sharedWon.count(position))
            wonByBoth.insert(position);
    EXPECT_TRUE(wonByBoth.empty()) << "both saved S_B_" << *wonByBoth.begin();
    EXPECT_EQ(p.sharedWon.size() + q.sharedWon.size(), held.size());
    EXPECT_FALSE(p.sharedWon.empty() || q.sharedWon.empty())
        << "the race for shared places never happened";
    EXPECT_EQ(sqliteQuery(db, "SELECT count(*) FROM StockTable WHERE Index_ID='1_A_1'"),
              (Rows{{"1"}}));
    RecordProperty("records_held", static_cast<int>(p.own.size() + q.own.size() + held.size()));
}

} // namespace
