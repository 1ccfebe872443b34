// The program when its file fails under it: the save and the delete on a
// file that can no longer be written, or that was removed or replaced after
// it was opened; and an open whose backup copy cannot be made.
#include "FaultFiles.h"
#include "support/ProgramFixture.h"

#include "app/ApplicationState.h"
#include "browse/Listing.h"
#include "edit/DeleteRecord.h"
#include "edit/EditRow.h"
#include "edit/SaveRecord.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <FL/Fl_Input.H>

#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Texts = std::vector<std::string>;

const char* const kColumns = "Index_ID TEXT(255) PRIMARY KEY NOT NULL, Rack TEXT, Box TEXT, "
                             "Position TEXT, Strain TEXT, Dates_ID DATETIME, Comments TEXT";
const std::vector<std::string> kRecords = {
    "INSERT INTO StockTable VALUES ('R1_A_1', 'R1', 'A', '1', 'K12', '2003-05-17 00:00:00', "
    "'first')",
    "INSERT INTO StockTable VALUES ('R1_B_2', 'R1', 'B', '2', 'BL21', '2005-01-01 00:00:00', "
    "'second')"};

const char* const kStatementFailed = "Error SQLExecDirect()\n,in the update fcn 2";
const char* const kSaveConnectFailed =
    "SQLDriverConnect(connection to the database) \nError, in the update fcn";

class FileFaults : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        path = makeDatabase("stock.mdb", kColumns, kRecords);
        openDatabase(path);
        ASSERT_EQ(messages, Texts{});
        ASSERT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2"}));
        takeStdout();
    }

    void loadListed(const std::string& key) {
        for (const ResultRow& row : appState.mainTable->rowData)
            if (!row.texts.empty() && row.texts[0] == key)
                loadEditRow(row.texts);
    }

    // A changed record and a new one, saved; then a delete. Each must fail
    // with `expected` and leave the file's bytes as they were.
    void everyWriteFails(const std::string& expected) {
        const std::string before = readBytes(path);
        loadListed("R1_A_1");
        appState.editTable->setCell(0, 4, "changed");
        messages.clear();
        updateItem();
        EXPECT_EQ(messages, Texts{expected}) << "update";

        newItem();
        Texts row = {"", "R9", "Z", "9", "new", "2010-10-10", ""};
        for (size_t c = 0; c < row.size(); ++c)
            appState.editTable->setCell(0, static_cast<int>(c), row[c]);
        messages.clear();
        updateItem();
        EXPECT_EQ(messages, Texts{expected}) << "insert";

        appState.editTable->setCell(0, 0, "R1_B_2");
        answer = 2;
        messages.clear();
        deleteItem();
        EXPECT_EQ(messages, Texts{expected}) << "delete";
        EXPECT_EQ(readBytes(path), before);
    }

    void everythingAsItWas() {
        messages.clear();
        checkState();
        EXPECT_EQ(messages, Texts{});
        EXPECT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2"}));
        EXPECT_EQ(stockRows(path)[0][4], "K12");
    }

    std::string path;
};

TEST_F(FileFaults, ASaveOnAFileThatCannotBeWrittenFailsAndWritesNothing) {
    // Made immutable where that is allowed, else by a folder where SQLite
    // would make its rollback journal: either way no write can happen.
    bool immutable = setImmutable(path, true);
    if (!immutable) {
        ASSERT_TRUE(fs::create_directory(path + "-journal"));
    }
    everyWriteFails(kStatementFailed);
    if (immutable) {
        setImmutable(path, false);
    } else {
        fs::remove(path + "-journal");
    }
    everythingAsItWas();
}

TEST_F(FileFaults, ASaveAfterTheFileWasRemovedSaysSoAndMakesNoFile) {
    const std::string aside = folder.path() + "/aside.mdb";
    fs::rename(path, aside);
    const std::string asideBytes = readBytes(aside);
    everyWriteFails(kSaveConnectFailed);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(readBytes(aside), asideBytes);
}

TEST_F(FileFaults, ASaveAfterTheFileWasReplacedWritesOnlyIntoTheNewFile) {
    const std::string aside = folder.path() + "/aside.mdb";
    fs::rename(path, aside);
    const std::string asideBytes = readBytes(aside);
    createStockDatabase(path, kColumns,
                        {"INSERT INTO StockTable VALUES ('N1_A_1', 'N1', 'A', '1', 'other', "
                         "'2011-01-01 00:00:00', 'x')"});
    // The record loaded from the old file is not in the new one.
    loadListed("R1_A_1");
    appState.editTable->setCell(0, 4, "changed");
    messages.clear();
    updateItem();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no longer exists"), std::string::npos) << messages[0];
    EXPECT_EQ(stockRows(path).size(), 1u);
    EXPECT_EQ(readBytes(aside), asideBytes);
}

// The backup copy cannot be made: the loading goes on, one line on standard
// error says why, and no partial copy is left in the backup folder.
enum class BackupFault { FolderIsAFile, CopyNameIsAFolder, FolderImmutable, NoRoomForTheCopy };

struct BackupCase {
    const char* name;
    BackupFault fault;
};

class BackupFaults : public ProgramTest, public ::testing::WithParamInterface<BackupCase> {};

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_P(BackupFaults, LoadingGoesOnWithOneLineOnStandardError) {
    const std::string path = makeDatabase("stock.mdb", kColumns, kRecords);
    const std::string backup = folder.path() + "/backup";
    rlimit oldLimit{};
    switch (GetParam().fault) {
    case BackupFault::FolderIsAFile:
        std::ofstream(backup) << "a file where the folder should be";
        break;
    case BackupFault::CopyNameIsAFolder:
        fs::create_directories(backup + "/stock.mdb");
        break;
    case BackupFault::FolderImmutable:
        fs::create_directory(backup);
        if (!setImmutable(backup, true))
            GTEST_SKIP() << "this file system or user cannot mark a folder immutable";
        break;
    case BackupFault::NoRoomForTheCopy: {
        // A limit on the size of any file this process writes, below the
        // database's own size: the copy runs out of room half way.
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &oldLimit);
        rlimit small = oldLimit;
        small.rlim_cur = fs::file_size(path) / 2;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        break;
    }
    }
    const std::vector<std::string> backupBefore = entries(backup);

    ::testing::internal::CaptureStderr();
    openDatabase(path);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    if (GetParam().fault == BackupFault::NoRoomForTheCopy)
        setrlimit(RLIMIT_FSIZE, &oldLimit);
    if (GetParam().fault == BackupFault::FolderImmutable)
        setImmutable(backup, false);

    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(errors.rfind("Backup of the database failed: ", 0), 0u) << errors;
    EXPECT_EQ(messages, Texts{});
    EXPECT_EQ(listedKeys(), (Texts{"R1_A_1", "R1_B_2"}));
    EXPECT_EQ(entries(backup), backupBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BackupFaults,
    ::testing::Values(BackupCase{"FolderIsAFile", BackupFault::FolderIsAFile},
                      BackupCase{"CopyNameIsAFolder", BackupFault::CopyNameIsAFolder},
                      BackupCase{"FolderImmutable", BackupFault::FolderImmutable},
                      BackupCase{"NoRoomForTheCopy", BackupFault::NoRoomForTheCopy}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
