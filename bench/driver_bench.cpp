// Benchmark of the mdblite driver: the inventory program's statements through
// unixODBC and the driver, against the same queries straight on SQLite's C API,
// on a generated stock collection. Prints, for each workload, the median wall
// time and CPU time in milliseconds of both paths and their ratios.
//
//   bench_driver [--records N] [--rounds R] [--keep FILE]
//
// Both paths do the program's work: one connection per operation, every result
// column read as text into a 256-byte buffer. ODBCSYSINI defaults to the build
// tree's registration of the driver.
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kBufferSize = 256;

const char* const kSelectorColumns[] = {"Rack",    "Box",     "Position", "Strain",
                                        "Plasmid", "Subunit", "Mutation", "Antibiotic"};

// ---------------------------------------------------------------------------
// The collection.

void check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// Makes `path` with StockTable holding `records` realistic records: places
// rack_box_position over 25 racks of boxes A-J, strains, plasmids, antibiotics,
// dates over 2000-2012, a few NULL dates and comments.
void createCollection(const std::string& path, int records) {
    static const char* strains[] = {"DH5alpha", "BL21(DE3)", "JM109", "XL1-Blue", "TOP10",
                                    "MG1655",   "K12",       "W3110", "C41",      "Rosetta",
                                    "BW25113",  "HB101",     "DH10B", "Stbl3",    "SURE"};
    static const char* plasmids[] = {"pUC19",    "pET28a", "pBR322", "pGEX-4T1",
                                     "pACYC184", "pBAD33", "pCDF",   "pRSF",
                                     "pKD46",    "pCP20",  "pMAL",   "pTrc99a"};
    static const char* subunits[] = {"alpha", "beta", "gamma", "delta", "epsilon", "-"};
    static const char* antibiotics[] = {"Amp", "Kan", "Cm", "Tet", "Spec", "Gent", "Amp+Kan"};
    static const char* comments[] = {"",
                                     "from the old freezer",
                                     "check purity",
                                     "sequenced, correct",
                                     "glycerol stock 15%",
                                     "received from the partner lab"};
    sqlite3* db = nullptr;
    check(db,
          sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
          "create");
    check(db,
          sqlite3_exec(db,
                       "PRAGMA journal_mode=DELETE;"
                       "CREATE TABLE StockTable (Index_ID TEXT(255) PRIMARY KEY NOT NULL, "
                       "Rack TEXT, Box TEXT, Position TEXT, Strain TEXT, Plasmid TEXT, "
                       "Subunit TEXT, Mutation TEXT, Antibiotic TEXT, Dates_ID DATETIME, "
                       "Comments TEXT); BEGIN",
                       nullptr, nullptr, nullptr),
          "schema");
    sqlite3_stmt* insert = nullptr;
    check(db,
          sqlite3_prepare_v2(db, "INSERT INTO StockTable VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1,
                             &insert, nullptr),
          "prepare");
    std::mt19937 random(20081221);
    auto pick = [&](const auto& list) { return list[random() % (sizeof list / sizeof list[0])]; };
    const int perBox = std::max(1, (records + 249) / 250);
    for (int i = 0; i < records; ++i) {
        const std::string rack = std::to_string(1 + i / (perBox * 10));
        const std::string box(1, static_cast<char>('A' + (i / perBox) % 10));
        const std::string position = std::to_string(1 + i % perBox);
        const std::string key = rack + "_" + box + "_" + position;
        const std::string mutation =
            "d" + std::string(pick(subunits)) + std::to_string(random() % 40);
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d 00:00:00",
                      2000 + static_cast<int>(random() % 13), 1 + static_cast<int>(random() % 12),
                      1 + static_cast<int>(random() % 28));
        const std::string values[] = {key,
                                      rack,
                                      box,
                                      position,
                                      pick(strains),
                                      pick(plasmids),
                                      pick(subunits),
                                      mutation,
                                      pick(antibiotics),
                                      date,
                                      pick(comments)};
        sqlite3_reset(insert);
        for (int c = 0; c < 11; ++c) {
            const bool isNull = (c == 9 && random() % 100 == 0) || (c == 10 && random() % 50 == 0);
            if (isNull)
                sqlite3_bind_null(insert, c + 1);
            else
                sqlite3_bind_text(insert, c + 1, values[c].c_str(), -1, SQLITE_TRANSIENT);
        }
        check(db, sqlite3_step(insert), "insert");
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
    sqlite3_close(db);
}

// ---------------------------------------------------------------------------
// One statement as both paths run it.

struct Statement {
    std::string access; // the program's text, through ODBC
    std::string sqlite; // the same query for SQLite
};

struct Totals {
    long rows = 0;
    long bytes = 0; // text bytes delivered, to show both paths did the same work
};

// ODBC: one connection for the statements, each read into 256-byte buffers.
class OdbcPath {
public:
    explicit OdbcPath(std::string path)
        : connectionString_("DBQ=" + path +
                            ";DRIVER={Microsoft Access Driver "
                            "(*.mdb)};") {}

    Totals run(const std::vector<Statement>& statements) const {
        SQLHENV env = SQL_NULL_HENV;
        SQLHDBC dbc = SQL_NULL_HDBC;
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        std::string text = connectionString_;
        SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                        SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_COMPLETE);
        if (!SQL_SUCCEEDED(rc))
            fail(SQL_HANDLE_DBC, dbc, "connect");
        Totals totals;
        for (const Statement& statement : statements)
            runOne(dbc, statement.access, totals);
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        return totals;
    }

private:
    static void fail(SQLSMALLINT type, SQLHANDLE handle, const std::string& what) {
        SQLCHAR state[6] = "", message[512] = "";
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
        throw std::runtime_error(what + ": " + reinterpret_cast<char*>(state) + " " +
                                 reinterpret_cast<char*>(message));
    }

    static void runOne(SQLHDBC dbc, const std::string& sql, Totals& totals) {
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        std::string text = sql;
        if (!SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(text.data()),
                                         static_cast<SQLINTEGER>(text.size()))))
            fail(SQL_HANDLE_STMT, stmt, sql);
        SQLSMALLINT columns = 0;
        SQLNumResultCols(stmt, &columns);
        if (columns > 0) {
            std::vector<char> buffers(static_cast<size_t>(columns) * kBufferSize);
            std::vector<SQLLEN> indicators(static_cast<size_t>(columns));
            for (SQLSMALLINT c = 0; c < columns; ++c)
                SQLBindCol(stmt, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR,
                           &buffers[static_cast<size_t>(c) * kBufferSize], kBufferSize,
                           &indicators[static_cast<size_t>(c)]);
            SQLRETURN rc;
            while ((rc = SQLFetch(stmt)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
                ++totals.rows;
                for (SQLLEN indicator : indicators)
                    if (indicator > 0)
                        totals.bytes += std::min<SQLLEN>(indicator, kBufferSize - 1);
            }
        }
        SQLFreeStmt(stmt, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }

    std::string connectionString_;
};

// SQLite's C API: the same queries, each column copied into a 256-byte buffer.
class SqlitePath {
public:
    explicit SqlitePath(std::string path) : path_(std::move(path)) {}

    Totals run(const std::vector<Statement>& statements) const {
        sqlite3* db = nullptr;
        check(db, sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), "open");
        sqlite3_busy_timeout(db, 10000);
        Totals totals;
        std::vector<char> buffers;
        for (const Statement& statement : statements) {
            sqlite3_stmt* stmt = nullptr;
            check(db, sqlite3_prepare_v2(db, statement.sqlite.c_str(), -1, &stmt, nullptr),
                  statement.sqlite.c_str());
            const int columns = sqlite3_column_count(stmt);
            buffers.resize(static_cast<size_t>(columns) * kBufferSize);
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                ++totals.rows;
                for (int c = 0; c < columns; ++c) {
                    const unsigned char* text = sqlite3_column_text(stmt, c);
                    if (!text)
                        continue;
                    const size_t length = std::min<size_t>(
                        static_cast<size_t>(sqlite3_column_bytes(stmt, c)), kBufferSize - 1);
                    char* buffer = &buffers[static_cast<size_t>(c) * kBufferSize];
                    std::memcpy(buffer, text, length);
                    buffer[length] = '\0';
                    totals.bytes += static_cast<long>(length);
                }
            }
            check(db, rc, statement.sqlite.c_str());
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        return totals;
    }

private:
    std::string path_;
};

// ---------------------------------------------------------------------------
// Timing.

struct Timing {
    double wallMs = 0;
    double cpuMs = 0; // this process's CPU time: steadier on a shared machine
};

double cpuNowMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

Timing timeOnce(const std::function<Totals()>& work, Totals& totals) {
    const double cpuStart = cpuNowMs();
    const auto start = std::chrono::steady_clock::now();
    totals = work();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), cpuNowMs() - cpuStart};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Workload {
    std::string name;
    std::vector<Statement> statements;
};

std::vector<Workload> workloads() {
    Workload listing{"full listing (all records)",
                     {{"SELECT * from StockTable WHERE Dates_ID between #2000-01-01# and "
                       "#2012-12-31#",
                       "SELECT * from StockTable WHERE Dates_ID between '2000-01-01 00:00:00' and "
                       "'2012-12-31 00:00:00'"}}};
    Workload narrow{"filtered listing (Rack, Box, dates)",
                    {{"SELECT * from StockTable WHERE Rack='3' and Box='A' and Dates_ID between "
                      "#2003-05-17# and #2009-01-02#",
                      "SELECT * from StockTable WHERE Rack='3' and Box='A' and Dates_ID between "
                      "'2003-05-17 00:00:00' and '2009-01-02 00:00:00'"}}};
    Workload selectors{"selectors (8 x SELECT DISTINCT)", {}};
    for (const char* column : kSelectorColumns) {
        std::string sql =
            std::string("SELECT DISTINCT ") + column + " FROM StockTable ORDER BY " + column;
        selectors.statements.push_back({sql, sql});
    }
    Workload save{
        "save (occupancy, UPDATE, MIN, MAX)",
        {{"SELECT * FROM StockTable WHERE Index_ID='3_B_7'",
          "SELECT * FROM StockTable WHERE Index_ID='3_B_7'"},
         {"UPDATE StockTable SET Index_ID='3_B_7', Rack='3', Box='B', Position='7', "
          "Strain='DH5alpha', Plasmid='pUC19', Subunit='alpha', Mutation='dalpha1', "
          "Antibiotic='Amp', Dates_ID=#2008-12-21#, Comments='' WHERE Index_ID='3_B_7'",
          "UPDATE StockTable SET Index_ID='3_B_7', Rack='3', Box='B', Position='7', "
          "Strain='DH5alpha', Plasmid='pUC19', Subunit='alpha', Mutation='dalpha1', "
          "Antibiotic='Amp', Dates_ID='2008-12-21 00:00:00', Comments='' WHERE Index_ID='3_B_7'"},
         {"SELECT MIN(Dates_ID) FROM StockTable", "SELECT MIN(Dates_ID) FROM StockTable"},
         {"SELECT MAX(Dates_ID) FROM StockTable", "SELECT MAX(Dates_ID) FROM StockTable"}}};
    return {listing, narrow, selectors, save};
}

} // namespace

int main(int argc, char** argv) {
    int records = 100000;
    int rounds = 7;
    std::string keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--records")
            records = std::atoi(argv[i + 1]);
        else if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--keep")
            keep = argv[i + 1];
    }
    setenv("ODBCSYSINI", MDBLITE_ODBCSYSINI, 0);

    char folder[] = "/tmp/mdblite-bench-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string path = keep.empty() ? std::string(folder) + "/stock.mdb" : keep;
    try {
        std::remove(path.c_str());
        createCollection(path, records);
        std::printf("mdblite driver benchmark: %d records, median of %d rounds, one connection "
                    "per operation, 256-byte text buffers\n\n",
                    records, rounds);
        std::printf("%-46s %9s %9s %6s  %9s %9s %6s %7s\n", "workload", "odbc", "sqlite", "ratio",
                    "odbc cpu", "sql cpu", "ratio", "rows");
        OdbcPath odbc(path);
        SqlitePath sqlite(path);
        for (const Workload& workload : workloads()) {
            Totals viaOdbc, viaSqlite;
            odbc.run(workload.statements); // warm the page cache and the loader
            sqlite.run(workload.statements);
            // Rounds alternate between the paths so that a change of load on
            // the machine falls on both alike.
            std::vector<double> odbcWall, odbcCpu, sqliteWall, sqliteCpu;
            for (int round = 0; round < rounds; ++round) {
                Timing o = timeOnce([&] { return odbc.run(workload.statements); }, viaOdbc);
                Timing s = timeOnce([&] { return sqlite.run(workload.statements); }, viaSqlite);
                odbcWall.push_back(o.wallMs);
                odbcCpu.push_back(o.cpuMs);
                sqliteWall.push_back(s.wallMs);
                sqliteCpu.push_back(s.cpuMs);
            }
            const double ow = median(odbcWall), sw = median(sqliteWall);
            const double oc = median(odbcCpu), sc = median(sqliteCpu);
            std::printf("%-46s %9.2f %9.2f %6.3f  %9.2f %9.2f %6.3f %7ld%s\n",
                        workload.name.c_str(), ow, sw, ow / sw, oc, sc, oc / sc, viaOdbc.rows,
                        viaOdbc.rows == viaSqlite.rows && viaOdbc.bytes == viaSqlite.bytes
                            ? ""
                            : "  (RESULTS DIFFER)");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_driver: %s\n", error.what());
        return 1;
    }
    if (keep.empty())
        std::remove(path.c_str());
    rmdir(folder);
    return 0;
}
