// The driver on real files that fail under it: a file that can no longer be
// written, a full disk, a writer killed at any point, and a file removed or
// replaced between two operations. Each fault must be reported as a failure,
// and the file must stay a sound database holding whole records.
#include "ChildProcess.h"
#include "DriverTestSupport.h"
#include "FaultFiles.h"
#include "FaultRecords.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace drivertest;
using faulttest::ChildProcess;
namespace fs = std::filesystem;

namespace {

std::string integrity(const std::string& db) {
    Rows rows = sqliteQuery(db, "PRAGMA integrity_check");
    return rows.size() == 1 && rows[0][0] ? *rows[0][0] : "<no answer>";
}

Rows allRecords(const std::string& db) {
    return sqliteQuery(db, "SELECT * FROM StockTable ORDER BY Index_ID");
}

const Rows kTwoRecords = {stockRow("1", "A", "1", "2003-05-17 00:00:00", "DH5alpha", "first"),
                          stockRow("1", "A", "2", "2008-12-21 00:00:00", "BL21", "second")};

// The three writes of the program: save as update, save as insert, delete.
const std::vector<std::string> kWrites = {
    "UPDATE StockTable SET Strain='changed' WHERE Index_ID='1_A_1'",
    faulttest::insertPlaceSql("2", "B", "3", 1), "DELETE FROM StockTable WHERE Index_ID='1_A_2'"};

// ---------------------------------------------------------------------------
// A file that can no longer be written.

enum class Unwritable { Immutable, JournalBlocked, ReadOnlyMode };

struct UnwritableCase {
    const char* name;
    Unwritable way;
};

// Makes the database impossible to write in one way and undoes it when it ends.
class UnwritableFile {
public:
    UnwritableFile(std::string db, Unwritable way) : db_(std::move(db)), way_(way) {
        switch (way_) {
        case Unwritable::Immutable:
            applied_ = setImmutable(db_, true);
            why_ = "this file system or user cannot mark a file immutable";
            break;
        case Unwritable::JournalBlocked:
            // SQLite cannot make its rollback journal where a folder has its name.
            applied_ = fs::create_directory(db_ + "-journal");
            break;
        case Unwritable::ReadOnlyMode:
            // Permission bits do not hold root back.
            applied_ = geteuid() != 0 && chmod(db_.c_str(), 0444) == 0 &&
                       chmod(fs::path(db_).parent_path().c_str(), 0555) == 0;
            why_ = "permission bits do not stop root";
            break;
        }
    }
    ~UnwritableFile() {
        if (!applied_)
            return;
        if (way_ == Unwritable::Immutable)
            setImmutable(db_, false);
        if (way_ == Unwritable::JournalBlocked)
            fs::remove(db_ + "-journal");
        if (way_ == Unwritable::ReadOnlyMode) {
            chmod(fs::path(db_).parent_path().c_str(), 0755);
            chmod(db_.c_str(), 0644);
        }
    }
    bool applied() const { return applied_; }
    const std::string& why() const { return why_; }

private:
    std::string db_;
    Unwritable way_;
    bool applied_ = false;
    std::string why_;
};

class UnwritableFiles : public ::testing::TestWithParam<UnwritableCase> {};

TEST_P(UnwritableFiles, EveryWriteFailsAndTheFileStaysAsItWas) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, kTwoRecords);
    const std::string before = readBytes(db);

    Connection opened; // the connection of an operation that began before the fault
    ASSERT_EQ(opened.open(db), SQL_SUCCESS);
    ASSERT_TRUE(run(opened, "SELECT * FROM StockTable").ok());
    {
        UnwritableFile fault(db, GetParam().way);
        if (!fault.applied())
            GTEST_SKIP() << fault.why();
        for (const std::string& sql : kWrites) {
            Outcome onOpen = run(opened, sql);
            EXPECT_FALSE(onOpen.ok()) << "open connection: " << sql;
            EXPECT_FALSE(onOpen.message().empty()) << sql;
            Outcome onNew = runOnce(db, sql);
            EXPECT_FALSE(onNew.ok()) << "new connection: " << sql;
            EXPECT_FALSE(onNew.message().empty()) << sql;
        }
        opened.close();
        EXPECT_EQ(readBytes(db), before);
    }
    // A failed write may leave its journal; the next operation's connection
    // rolls it back, and the file is sound.
    ASSERT_TRUE(runOnce(db, "SELECT * FROM StockTable").ok());
    EXPECT_EQ(integrity(db), "ok");
    EXPECT_EQ(allRecords(db), kTwoRecords);
    // Once it can be written again, the driver writes it.
    EXPECT_TRUE(runOnce(db, kWrites[0]).ok());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnwritableFiles,
    ::testing::Values(UnwritableCase{"Immutable", Unwritable::Immutable},
                      UnwritableCase{"JournalCannotBeMade", Unwritable::JournalBlocked},
                      UnwritableCase{"ReadOnlyPermissions", Unwritable::ReadOnlyMode}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A full disk: the worker writes with a limit on the size of any file.

struct DiskFullCase {
    const char* name;
    long roomAfterFile; // the limit is the file's size plus this; below 0: an absolute limit of 600
    std::string sql;
    bool fits;
};

class DiskFull : public ::testing::TestWithParam<DiskFullCase> {};

TEST_P(DiskFull, AWriteWithoutRoomFailsAndLeavesASoundFile) {
    const DiskFullCase& c = GetParam();
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, kTwoRecords);
    long size = static_cast<long>(fs::file_size(db));
    long limit = c.roomAfterFile < 0 ? 600 : size + c.roomAfterFile;

    ChildProcess worker(FAULTS_WORKER, {"fsize", db, std::to_string(limit), c.sql});
    ASSERT_TRUE(worker.started());
    std::vector<std::string> said = worker.remainingLines();
    ASSERT_EQ(worker.wait(), 0);
    ASSERT_EQ(said.size(), 1u);
    if (c.fits) {
        EXPECT_EQ(said[0], "ok 1");
    } else {
        EXPECT_EQ(said[0].rfind("failed ", 0), 0u) << said[0];
        EXPECT_GT(said[0].size(), std::string("failed HY000 ").size()) << "no message";
    }

    // The next operation opens the file (rolling back what a journal holds)
    // and finds every record whole.
    Outcome listed = runOnce(db, "SELECT Index_ID FROM StockTable ORDER BY Index_ID");
    ASSERT_TRUE(listed.ok()) << listed.message();
    EXPECT_EQ(integrity(db), "ok");
    EXPECT_FALSE(fs::exists(db + "-journal"));
    Rows records = allRecords(db);
    if (c.fits) {
        EXPECT_EQ(records.size(), 3u);
    } else {
        EXPECT_EQ(records, kTwoRecords);
    }
}

// Large, yet within what one argument of a new process may hold.
const std::string kHugeComment = faulttest::commentFor(7, 100000);

INSTANTIATE_TEST_SUITE_P(
    Faults, DiskFull,
    ::testing::Values(
        DiskFullCase{"InsertBeyondTheRoomLeft", 0,
                     "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Comments) VALUES "
                     "('9_9_9', '9', '9', '9', '" +
                         kHugeComment + "')",
                     false},
        DiskFullCase{"UpdateGrowingBeyondTheRoomLeft", 8192,
                     "UPDATE StockTable SET Comments='" + kHugeComment + "' WHERE Index_ID='1_A_1'",
                     false},
        DiskFullCase{"NoRoomForTheJournal", -1, faulttest::insertPlaceSql("9", "9", "9", 1), false},
        DiskFullCase{"ASmallInsertStillFits", 65536, faulttest::insertPlaceSql("9", "9", "9", 1),
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A writer killed at random points of a loop of saves.

struct Seen {
    int counter = -1;          // Strain of L_1_1
    std::vector<int> numbered; // the N records
    std::vector<std::string> broken;
};

Seen inspect(const std::string& db) {
    Seen seen;
    for (const Row& row : allRecords(db)) {
        const std::string key = row[0].value_or("");
        int n = std::atoi(row[4].value_or("-1").c_str());
        if (row[10] != faulttest::commentFor(n, faulttest::kLongComment))
            seen.broken.push_back(key);
        if (key == "L_1_1")
            seen.counter = n;
        else if (key == faulttest::numberedKey(n))
            seen.numbered.push_back(n);
        else
            seen.broken.push_back(key);
    }
    return seen;
}

TEST(KilledWriter, TheFileAlwaysOpensWithTheOldOrTheNewRecordWhole) {
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    createStockDatabase(db, {});
    sqliteExec(db, "INSERT INTO StockTable (Index_ID, Strain, Comments) VALUES ('L_1_1', '0', '" +
                       faulttest::commentFor(0, faulttest::kLongComment) + "')");
    sqliteExec(db, "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Dates_ID, "
                   "Comments) VALUES ('N_0_1', 'N', '0', '1', '0', '2008-12-21 00:00:00', '" +
                       faulttest::commentFor(0, faulttest::kLongComment) + "')");

    std::mt19937 random(20261211);
    const int kills = 30;
    int journalsLeft = 0;
    int counter = 0;
    for (int kill = 0; kill < kills; ++kill) {
        ChildProcess worker(FAULTS_WORKER, {"save-loop", db});
        ASSERT_TRUE(worker.started());
        // Let it finish some steps, then kill it a little later, at a point
        // that varies from one round to the next.
        int steps = std::uniform_int_distribution<int>(1, 7)(random);
        int lastUpdate = counter;
        std::string line;
        for (int i = 0; i < steps && worker.readLine(line); ++i)
            if (line.rfind("u ", 0) == 0)
                lastUpdate = std::atoi(line.c_str() + 2);
        usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
        worker.kill();
        for (const std::string& rest : worker.remainingLines()) {
            ASSERT_EQ(rest.rfind("failed", 0), std::string::npos) << rest;
            if (rest.rfind("u ", 0) == 0)
                lastUpdate = std::atoi(rest.c_str() + 2);
        }
        journalsLeft += fs::exists(db + "-journal") ? 1 : 0;

        Outcome opened = runOnce(db, "SELECT Index_ID, Strain FROM StockTable");
        ASSERT_TRUE(opened.ok()) << "after kill " << kill << ": " << opened.message();
        ASSERT_EQ(integrity(db), "ok") << "after kill " << kill;
        Seen seen = inspect(db);
        ASSERT_TRUE(seen.broken.empty()) << "after kill " << kill << ": " << seen.broken[0];
        // The last save it reported, or the one it was making.
        ASSERT_TRUE(seen.counter == lastUpdate || seen.counter == lastUpdate + 1)
            << "after kill " << kill << ": " << seen.counter << " after " << lastUpdate;
        for (int n : seen.numbered)
            EXPECT_LE(n, seen.counter) << "a record numbered beyond the counter";
        counter = seen.counter;
    }
    EXPECT_GE(counter, kills) << "the worker made hardly any saves";
    RecordProperty("saves", counter);
    RecordProperty("journals_left_by_kills", journalsLeft);
}

// ---------------------------------------------------------------------------
// The database removed or replaced between two operations.

enum class Swap { Removed, TextFile, EmptyFile, Folder, OtherDatabase };

struct SwapCase {
    const char* name;
    Swap swap;
    const char* reason; // in the refusal's message; empty when the write goes to the new file
};

void swapFile(const std::string& db, Swap swap, const std::string& aside) {
    fs::rename(db, aside);
    switch (swap) {
    case Swap::Removed:
        break;
    case Swap::TextFile:
        writeFile(db, "Index_ID,Rack\n1_A_1,1\n");
        break;
    case Swap::EmptyFile:
        writeFile(db, "");
        break;
    case Swap::Folder:
        fs::create_directory(db);
        break;
    case Swap::OtherDatabase:
        createStockDatabase(db, {stockRow("7", "C", "1", "2010-01-01 00:00:00")});
        break;
    }
}

class ReplacedFiles : public ::testing::TestWithParam<SwapCase> {};

TEST_P(ReplacedFiles, TheNextOperationFindsOutAndTheOldFileIsUntouched) {
    const SwapCase& c = GetParam();
    TempFolder folder;
    const std::string db = folder.file("stock.mdb");
    const std::string aside = folder.file("moved-away.mdb");
    createStockDatabase(db, kTwoRecords);
    ASSERT_TRUE(runOnce(db, "SELECT * FROM StockTable").ok());

    swapFile(db, c.swap, aside);
    const std::string asideBytes = readBytes(aside);
    for (const std::string& sql : kWrites) {
        Outcome outcome = runOnce(db, sql);
        if (*c.reason) {
            EXPECT_FALSE(outcome.ok()) << sql;
            EXPECT_EQ(outcome.state(), "08001") << sql;
            EXPECT_NE(outcome.message().find(db), std::string::npos) << outcome.message();
            EXPECT_NE(outcome.message().find(c.reason), std::string::npos) << outcome.message();
        } else {
            EXPECT_TRUE(outcome.ok()) << sql << ": " << outcome.message();
        }
    }
    EXPECT_EQ(c.swap != Swap::Removed, fs::exists(db)) << "the driver made a file";
    EXPECT_EQ(readBytes(aside), asideBytes);
    EXPECT_EQ(allRecords(aside), kTwoRecords);
    if (c.swap == Swap::OtherDatabase) {
        EXPECT_EQ(firstColumn(allRecords(db)), (std::vector<std::string>{"2_B_3", "7_C_1"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReplacedFiles,
    ::testing::Values(SwapCase{"Removed", Swap::Removed, "does not exist"},
                      SwapCase{"ByATextFile", Swap::TextFile, "not a database"},
                      SwapCase{"ByAnEmptyFile", Swap::EmptyFile, "not a database"},
                      SwapCase{"ByAFolder", Swap::Folder, "folder"},
                      SwapCase{"ByAnotherDatabase", Swap::OtherDatabase, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A connection open on a file that is then removed or replaced would write
// into a file nobody sees again; the write must fail instead.
TEST(ReplacedFiles, AWriteOnAConnectionWhoseFileWasMovedFails) {
    for (bool replace : {false, true}) {
        TempFolder folder;
        const std::string db = folder.file("stock.mdb");
        createStockDatabase(db, kTwoRecords);
        Connection opened;
        ASSERT_EQ(opened.open(db), SQL_SUCCESS);
        ASSERT_TRUE(run(opened, "SELECT * FROM StockTable").ok());
        swapFile(db, replace ? Swap::OtherDatabase : Swap::Removed, folder.file("aside.mdb"));
        const std::string nowThere = replace ? readBytes(db) : "";
        for (const std::string& sql : kWrites) {
            Outcome outcome = run(opened, sql);
            EXPECT_FALSE(outcome.ok()) << (replace ? "replaced: " : "removed: ") << sql;
            EXPECT_FALSE(outcome.message().empty());
        }
        opened.close();
        EXPECT_EQ(allRecords(folder.file("aside.mdb")), kTwoRecords);
        if (replace) {
            EXPECT_EQ(readBytes(db), nowThere);
        }
    }
}

} // namespace
