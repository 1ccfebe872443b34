// The worker process of the fault tests: it works on a database through the
// unixODBC driver manager and the project's driver, one connection per
// operation as the program does, and reports on its standard output what it
// has done, one line per finished step, so that the test can kill it at any
// point and still know what was committed.
//
//   faults_worker fsize DB LIMIT SQL
//       runs SQL once with the size of any file it writes limited to LIMIT
//       bytes (as on a full disk); prints "ok ROWS" or "failed STATE MESSAGE".
//   faults_worker save-loop DB
//       saves forever: record L_1_1 gets the next number n and a long comment
//       made from n ("u n"), record N_n_1 is added ("i n") and every other
//       N record removed ("d n").
//   faults_worker mix DB PREFIX COUNT SEED
//       COUNT operations chosen by SEED: saves of its own records (Rack =
//       PREFIX), listings checked against what it saved, deletes, and
//       saves on the shared places S_B_0 to S_B_39, which the other worker
//       goes for too. At the end prints "own KEY VERSION" for every own
//       record it holds, "tried I" for every shared place it went for and
//       "won I" for those it saved. Any failure but a taken place prints
//       "failed ..." and exits 1.
#include "DriverTestSupport.h"
#include "FaultRecords.h"

#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>

using namespace drivertest;

namespace {

constexpr int kSharedPlaces = 40;

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// When the operation under way began, so that a failure can say how long
// it waited (a lock should have been waited for up to the busy timeout).
std::chrono::steady_clock::time_point operationStart = std::chrono::steady_clock::now();

int failed(const std::string& doing, const Outcome& outcome) {
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - operationStart);
    say("failed " + outcome.state() + " " + outcome.message() + " (" + doing + ", after " +
        std::to_string(waited.count()) + " ms)");
    return 1;
}

int sizeLimited(const std::string& db, long limit, const std::string& sql) {
    signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG instead
    rlimit size{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0)
        return 2;
    Outcome outcome = runOnce(db, sql);
    if (outcome.ok())
        say("ok " + std::to_string(outcome.rowCount));
    else
        say("failed " + outcome.state() + " " + outcome.message());
    return 0;
}

int saveLoop(const std::string& db) {
    for (int round = 0; round < 1000000; ++round) {
        Outcome current = runOnce(db, "SELECT Strain FROM StockTable WHERE Index_ID='L_1_1'");
        if (!current.ok() || current.rows.size() != 1 || !current.rows[0][0])
            return failed("read the counter", current);
        int n = std::atoi(current.rows[0][0]->c_str()) + 1;
        Outcome update = runOnce(db, faulttest::updateCounterSql(n));
        if (!update.ok() || update.rowCount != 1)
            return failed("update", update);
        say("u " + std::to_string(n));
        Outcome insert = runOnce(db, faulttest::insertNumberedSql(n));
        if (!insert.ok())
            return failed("insert", insert);
        say("i " + std::to_string(n));
        // Every other numbered record goes, also those a killed run left.
        Outcome remove = runOnce(db, "DELETE FROM StockTable WHERE Rack='N' and Box<>'" +
                                         std::to_string(n) + "'");
        if (!remove.ok())
            return failed("delete", remove);
        say("d " + std::to_string(n));
    }
    return 0;
}

// One worker of the mixed run: its own records and what it knows of them.
class Mixer {
public:
    Mixer(std::string db, std::string prefix, unsigned seed)
        : db_(std::move(db)), prefix_(std::move(prefix)), random_(seed) {}

    int runAll(int count) {
        for (int op = 0; op < count; ++op) {
            operationStart = std::chrono::steady_clock::now();
            int pick = std::uniform_int_distribution<int>(0, 99)(random_);
            bool ok = pick < 35   ? saveNew()
                      : pick < 50 ? saveAgain()
                      : pick < 75 ? list()
                      : pick < 85 ? removeOne()
                                  : tryShared();
            if (!ok)
                return 1;
        }
        for (const auto& [key, version] : own_)
            say("own " + key + " " + std::to_string(version));
        for (int position : sharedTried_)
            say("tried " + std::to_string(position));
        for (int position : sharedWon_)
            say("won " + std::to_string(position));
        return 0;
    }

private:
    std::string keyOf(int position) const { return prefix_ + "_B_" + std::to_string(position); }

    // The program's save: the occupancy query, then the statement, on one connection.
    bool save(const std::string& key, const std::string& statement, bool& taken) {
        Connection connection;
        SQLRETURN rc = connection.open(db_);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
            Outcome outcome;
            outcome.diags = connection.diagnostics();
            return failed("connect", outcome) == 0;
        }
        Outcome occupied =
            drivertest::run(connection, "SELECT * FROM StockTable WHERE Index_ID='" + key + "'");
        if (!occupied.ok())
            return failed("occupancy query", occupied) == 0;
        taken = !occupied.rows.empty();
        if (taken)
            return true;
        Outcome written = drivertest::run(connection, statement);
        if (written.ok())
            return true;
        // Another program may take the place between the two statements.
        if (written.state() == "23000") {
            taken = true;
            return true;
        }
        return failed("save " + key, written) == 0;
    }

    bool saveNew() {
        int position = next_++;
        bool taken = false;
        if (!save(keyOf(position),
                  faulttest::insertPlaceSql(prefix_, "B", std::to_string(position), 1), taken))
            return false;
        if (taken)
            return failed("own place " + keyOf(position) + " taken", Outcome()) == 0;
        own_[keyOf(position)] = 1;
        return true;
    }

    bool saveAgain() {
        if (own_.empty())
            return saveNew();
        auto it = std::next(
            own_.begin(), std::uniform_int_distribution<std::size_t>(0, own_.size() - 1)(random_));
        Outcome outcome = runOnce(db_, faulttest::updatePlaceSql(it->first, it->second + 1));
        if (!outcome.ok() || outcome.rowCount != 1)
            return failed("update " + it->first, outcome) == 0;
        ++it->second;
        return true;
    }

    bool list() {
        Outcome outcome = runOnce(db_, "SELECT * from StockTable WHERE Rack='" + prefix_ +
                                           "' and Dates_ID between #1990-01-01# and #2030-12-31#");
        if (!outcome.ok())
            return failed("list", outcome) == 0;
        std::map<std::string, int> seen;
        for (const Row& row : outcome.rows)
            seen[*row[0]] = faulttest::versionOf(*row[4]);
        if (seen != own_)
            return failed("the listing differs from what was saved", Outcome()) == 0;
        return true;
    }

    bool removeOne() {
        if (own_.empty())
            return list();
        auto it = own_.begin();
        Outcome outcome = runOnce(db_, "DELETE FROM StockTable WHERE Index_ID='" + it->first + "'");
        if (!outcome.ok() || outcome.rowCount != 1)
            return failed("delete " + it->first, outcome) == 0;
        own_.erase(it);
        return true;
    }

    // A place of the few that both workers go for, at random.
    bool tryShared() {
        int position = std::uniform_int_distribution<int>(0, kSharedPlaces - 1)(random_);
        bool taken = false;
        if (!save("S_B_" + std::to_string(position),
                  faulttest::insertPlaceSql("S", "B", std::to_string(position), 1), taken))
            return false;
        sharedTried_.insert(position);
        if (!taken)
            sharedWon_.insert(position);
        return true;
    }

    std::string db_;
    std::string prefix_;
    std::mt19937 random_;
    std::map<std::string, int> own_;
    int next_ = 0;
    std::set<int> sharedTried_;
    std::set<int> sharedWon_;
};

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "fsize" && argc == 5)
        return sizeLimited(argv[2], std::atol(argv[3]), argv[4]);
    if (command == "save-loop" && argc == 3)
        return saveLoop(argv[2]);
    if (command == "mix" && argc == 6)
        return Mixer(argv[2], argv[3], static_cast<unsigned>(std::atoi(argv[5])))
            .runAll(std::atoi(argv[4]));
    std::fprintf(stderr, "usage: faults_worker fsize DB LIMIT SQL | save-loop DB | "
                         "mix DB PREFIX COUNT SEED\n");
    return 2;
}
