// Clients the project did not write load the driver through the driver manager:
// unixODBC's isql and Python's pyodbc open a database, list its tables and run
// statements. (Debian's own python3 carries pyodbc, hence /usr/bin/python3.)
#include "DriverTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace drivertest;

namespace {

// Runs a shell command; returns its standard output and standard error.
std::string capture(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

class Clients : public ::testing::Test {
protected:
    void SetUp() override {
        createStockDatabase(db, {stockRow("1", "A", "1", "2003-05-17 00:00:00"),
                                 stockRow("3", "B", "2", "2008-12-21 00:00:00", "model")});
        // A user data source for isql, which connects by name.
        std::ofstream(odbcIni) << "[stock]\nDriver = Microsoft Access Driver (*.mdb)\nDBQ = " << db
                               << "\n";
    }

    TempFolder folder;
    std::string db = folder.file("stock.mdb");
    std::string odbcIni = folder.file("odbc.ini");
};

TEST_F(Clients, IsqlRunsTheProgramsStatements) {
    const std::string input = folder.file("input.sql");
    std::ofstream(input)
        << "SELECT Index_ID, Dates_ID FROM StockTable WHERE Rack='3' and Box='B' and Dates_ID "
           "between #2003-05-17# and #2009-01-02#\n"
           "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Dates_ID) VALUES "
           "('R1_B2_P3', 'R1', 'B2', 'P3', #1900-04-24#)\n"
           "SELECT MIN(Dates_ID) FROM StockTable\n"
           "SELECT * FROM NoSuchTable\n";
    int status = 0;
    const std::string output =
        capture("ODBCINI=" + odbcIni + " isql -v -b -d'|' stock < " + input, status);
    EXPECT_NE(output.find("3_B_2|2008-12-21 00:00:00"), std::string::npos) << output;
    EXPECT_NE(output.find("1900-04-24 00:00:00"), std::string::npos) << output;
    EXPECT_NE(output.find("no such table: NoSuchTable"), std::string::npos) << output;
    EXPECT_EQ(sqliteQuery(db, "SELECT Rack FROM StockTable WHERE Index_ID='R1_B2_P3'"),
              (Rows{{"R1"}}));
}

TEST_F(Clients, PyodbcListsTablesAndSelects) {
    const std::string script = folder.file("client.py");
    std::ofstream(script)
        << "import sys, pyodbc\n"
           "cnxn = pyodbc.connect('DBQ=' + sys.argv[1] + ';DRIVER={Microsoft Access Driver "
           "(*.mdb)};')\n"
           "cur = cnxn.cursor()\n"
           "print('tables:', sorted(t.table_name for t in cur.tables(tableType='TABLE')))\n"
           "print('columns:', [c.column_name for c in cur.columns(table='StockTable')])\n"
           "for row in cur.execute(\"SELECT Index_ID, Strain, Dates_ID FROM StockTable WHERE "
           "Strain LIKE '%ODE%'\"):\n"
           "    print('row:', row[0], row[1], row[2].isoformat())\n"
           "cur.execute('UPDATE StockTable SET Strain = ? WHERE Index_ID = ?', 'XL1', '1_A_1')\n"
           "print('updated:', cur.rowcount)\n"
           "cnxn.commit()\n"
           "cnxn.close()\n";
    int status = 0;
    const std::string output = capture("/usr/bin/python3 " + script + " " + db, status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("tables: ['StockTable']"), std::string::npos) << output;
    EXPECT_NE(output.find("columns: ['Index_ID', 'Rack', 'Box', 'Position', 'Strain'"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("row: 3_B_2 model 2008-12-21T00:00:00"), std::string::npos) << output;
    EXPECT_NE(output.find("updated: 1"), std::string::npos) << output;
    EXPECT_EQ(sqliteQuery(db, "SELECT Strain FROM StockTable WHERE Index_ID='1_A_1'"),
              (Rows{{"XL1"}}));
}

} // namespace
