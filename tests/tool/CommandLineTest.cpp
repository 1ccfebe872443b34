// The rackbook-db binary run as a child process: exit statuses, where the
// messages go, and that a failed command leaves the files as they were.
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

using namespace rackbook::test;

namespace {

struct ChildResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool with `args`; its output goes through files in `folder`'s
// sibling temporary folder so that nothing it writes can block it.
ChildResult runBinary(const std::vector<std::string>& args) {
    TempFolder capture;
    std::string outPath = capture.file("out");
    std::string errPath = capture.file("err");
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(RACKBOOK_DB_BINARY));
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(RACKBOOK_DB_BINARY, argv.data());
        _exit(127);
    }
    ChildResult result;
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

TEST(CommandLine, HelpGoesToStandardOutput) {
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--help"}, {"help"}, {"import-csv", "--help"}}) {
        ChildResult result = runBinary(args);
        EXPECT_EQ(result.status, 0) << args[0];
        EXPECT_EQ(result.out.rfind("Usage: rackbook-db", 0), 0u) << result.out;
        EXPECT_NE(result.out.find("import-mdb SOURCE.mdb TARGET"), std::string::npos);
        EXPECT_TRUE(result.err.empty()) << result.err;
    }
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args; // "@" at the start of a word stands for the test folder
    int status;
    std::string message;
};

class CommandLineFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CommandLineFailure, ExplainsOnStandardErrorAndTouchesNothing) {
    TempFolder folder;
    writeFile(folder.file("notes.txt"), "just some text, not a database\n");
    std::filesystem::create_directory(folder.file("sub"));
    std::vector<std::string> args;
    for (const auto& word : GetParam().args)
        args.push_back(word[0] == '@' ? folder.file(word.substr(1)) : word);

    ChildResult result = runBinary(args);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(result.err.rfind("rackbook-db: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"notes.txt", "sub"}));
    EXPECT_EQ(readFile(folder.file("notes.txt")), "just some text, not a database\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineFailure,
    ::testing::Values(
        FailureCase{"NoCommand", {}, 2, "no command given"},
        FailureCase{"UnknownCommand", {"destroy", "@x.mdb"}, 2, "unknown command \"destroy\""},
        FailureCase{"UnknownOption", {"create", "@x.mdb", "--force"}, 2, "unknown option --force"},
        FailureCase{"MissingArgument", {"import-csv", "@x.mdb"}, 2, "missing argument"},
        FailureCase{"TooManyArguments", {"create", "@x.mdb", "@y.mdb"}, 2, "too many arguments"},
        FailureCase{"MissingValue", {"create", "@x.mdb", "--columns"}, 2, "needs a value"},
        FailureCase{"DemoWithoutCount", {"demo", "@x.mdb"}, 2, "--records N is required"},
        FailureCase{"CreateOverText", {"create", "@notes.txt"}, 1, "already exists"},
        FailureCase{"DemoOverText", {"demo", "@notes.txt", "--records", "3"}, 1, "already exists"},
        FailureCase{"ExportMissing", {"export-csv", "@x.mdb"}, 1, "No such file"},
        FailureCase{"ExportNotADatabase", {"export-csv", "@notes.txt"}, 1, "is not a database"},
        FailureCase{"ExportFolder", {"export-csv", "@sub"}, 1, "is a folder"},
        FailureCase{
            "ImportIntoText", {"import-csv", "@notes.txt", "@notes.txt"}, 1, "is not a database"},
        FailureCase{"ImportMissing", {"import-csv", "@x.mdb", "@notes.txt"}, 1, "No such file"},
        FailureCase{"ExportAccessFile",
                    {"export-csv", RACKBOOK_TESTDATA "/DateTestDatabase.mdb"},
                    1,
                    "is a Microsoft Access file; convert it first with 'rackbook-db import-mdb"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, ExportToStandardOutput) {
    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    ASSERT_EQ(runBinary({"create", db}).status, 0);
    ChildResult result = runBinary({"export-csv", db});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Index_ID,Rack,Box,Position,", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\r\n1_1_1,1,1,1,dummy item,"), std::string::npos) << result.out;
    EXPECT_TRUE(result.err.empty());
}

// Size of the one hidden temporary file in `folder`, or -1 while there is none.
long long temporaryFileSize(const TempFolder& folder) {
    for (const auto& name : folder.entries()) {
        struct stat info {};
        if (name[0] == '.' && stat(folder.file(name).c_str(), &info) == 0)
            return info.st_size;
    }
    return -1;
}

TEST(CommandLine, InterruptedRunLeavesNothing) {
    TempFolder folder;
    std::string db = folder.file("big.mdb");
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execl(RACKBOOK_DB_BINARY, RACKBOOK_DB_BINARY, "demo", db.c_str(), "--records", "10000000",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until records are being written (the file has grown), with a
    // generous bound so that a broken tool cannot hang the test.
    for (int i = 0; i < 3000 && temporaryFileSize(folder) <= 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(temporaryFileSize(folder), 0);
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_TRUE(folder.entries().empty()) << folder.entries().front();
}

} // namespace
