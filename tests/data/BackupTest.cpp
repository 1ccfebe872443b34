// Where the backup of a database goes, and the copy itself on real files.
#include "file/Backup.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace {

struct PathCase {
    std::string database;
    std::string folder;
    std::string backupFile;
};

TEST(BackupPaths, SplitAtTheLastSlash) {
    const PathCase cases[] = {
        {"/data/stock.mdb", "/data/backup", "/data/backup/stock.mdb"},
        {"C:/data/stock.mdb", "C:/data/backup", "C:/data/backup/stock.mdb"},
        {"stock.mdb", "backup", "backup/stock.mdb"},
        {"a/b/c d.mdb", "a/b/backup", "a/b/backup/c d.mdb"},
        {"/stock.mdb", "/backup", "/backup/stock.mdb"},
        {"", "backup", "backup/"},
    };
    for (const PathCase& c : cases) {
        const BackupPaths paths = backupPathsFor(c.database);
        EXPECT_EQ(paths.folder, c.folder) << c.database;
        EXPECT_EQ(paths.backupFile, c.backupFile) << c.database;
    }
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(MakeBackup, CreatesTheFolderAndCopiesTheFile) {
    TempFolder folder;
    const std::string database = folder.path() + "/stock.mdb";
    std::ofstream(database, std::ios::binary) << std::string("first\0copy", 10);
    EXPECT_EQ(makeBackup(database), "");
    EXPECT_EQ(contentOf(folder.path() + "/backup/stock.mdb"), std::string("first\0copy", 10));

    // A second open replaces the earlier backup.
    std::ofstream(database, std::ios::binary) << "second";
    EXPECT_EQ(makeBackup(database), "");
    EXPECT_EQ(contentOf(folder.path() + "/backup/stock.mdb"), "second");
    EXPECT_EQ(folder.fileNames("backup"), std::vector<std::string>{"stock.mdb"});
}

TEST(MakeBackup, AMissingFileLeavesNoBackupBehind) {
    TempFolder folder;
    const std::string failure = makeBackup(folder.path() + "/absent.mdb");
    EXPECT_NE(failure.find("absent.mdb"), std::string::npos) << failure;
    EXPECT_EQ(folder.fileNames("backup"), std::vector<std::string>{});
}

TEST(MakeBackup, AnUnwritableFolderIsReported) {
    TempFolder folder;
    const std::string database = folder.path() + "/stock.mdb";
    std::ofstream(database) << "data";
    std::ofstream(folder.path() + "/backup") << "a file where the folder should be";
    EXPECT_NE(makeBackup(database), "");
    EXPECT_EQ(contentOf(folder.path() + "/backup"), "a file where the folder should be");
}

TEST(MakeBackup, EmptyPathIsReported) {
    EXPECT_NE(makeBackup(""), "");
}

} // namespace
