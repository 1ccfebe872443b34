// Texts that look like numbers go into a database made by rackbook-db and
// come out unchanged, in every kind of text column, and the CSV round trip
// keeps them byte for byte.
#include "commands/Commands.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "rackbook-faults-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path); }
};

int tool(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::ostringstream o, e;
    int status = rackbook::runTool(args, o, e);
    if (out)
        *out = o.str();
    if (status != 0)
        ADD_FAILURE() << e.str();
    return status;
}

// typeof() and the value of `column` in the record keyed `key`.
std::string storedAs(const fs::path& db, const std::string& column, const std::string& key) {
    sqlite3* handle = nullptr;
    sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    std::string sql =
        "SELECT typeof(" + column + ") || ':' || " + column + " FROM StockTable WHERE Index_ID=?";
    sqlite3_stmt* stmt = nullptr;
    std::string result = "<no record>";
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return result;
}

const std::vector<std::string> kNumberLikeTexts = {
    "007", "1e5", "3.0e+5", "1.50", "-0", "0x10", "9223372036854775808", "12", "+4", ".5"};

TEST(ToolTexts, NumberLikeTextsStayTextsInEveryTextColumn) {
    Folder folder;
    fs::path db = folder.path / "stock.mdb";
    ASSERT_EQ(tool({"create", db.string(), "--columns",
                    "Index_ID,Rack,Box,Position,Name:VARCHAR(40),Dates_ID,Notes:MEMO,"
                    "Long:LONGTEXT"}),
              0);
    std::string csv = "Index_ID,Rack,Box,Position,Name,Dates_ID,Notes,Long\r\n";
    for (std::size_t i = 0; i < kNumberLikeTexts.size(); ++i) {
        const std::string& t = kNumberLikeTexts[i];
        csv +=
            "k" + std::to_string(i) + ",R," + t + ",P," + t + ",2008-12-21," + t + "," + t + "\r\n";
    }
    fs::path input = folder.path / "in.csv";
    std::ofstream(input, std::ios::binary) << csv;
    ASSERT_EQ(tool({"import-csv", db.string(), input.string()}), 0);

    for (std::size_t i = 0; i < kNumberLikeTexts.size(); ++i) {
        const std::string key = "k" + std::to_string(i);
        for (const char* column : {"Box", "Name", "Notes", "Long"})
            EXPECT_EQ(storedAs(db, column, key), "text:" + kNumberLikeTexts[i])
                << column << " of " << key;
    }
    std::string exported;
    ASSERT_EQ(tool({"export-csv", db.string()}, &exported), 0);
    EXPECT_NE(exported.find(csv.substr(csv.find("\r\n") + 2)), std::string::npos) << exported;
}

} // namespace
