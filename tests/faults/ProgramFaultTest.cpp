// The program when its file fails under it: the save and the delete on a
// file that can no longer be written, or that was removed or replaced after
// it was opened.
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
#include <sys/ioctl.h>
#include <unistd.h>

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

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool setImmutable(const std::string& path, bool on) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
}

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

} // namespace
