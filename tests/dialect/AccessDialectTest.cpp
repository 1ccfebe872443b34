// Table tests of translateAccessSql: Access-dialect statements in, SQLite SQL
// or a refusal (SQLSTATE and the cause named in the message) out.
#include "AccessDialect.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;
using mdblite::translateAccessSql;
using mdblite::Translation;

struct Accepted {
    std::string_view access;
    std::string_view sqlite;
};

// clang-format off
const Accepted kAccepted[] = {
    // The statements the program sends.
    {"SELECT * from StockTable WHERE Rack='3' and Box='A' and Dates_ID between #2003-05-17# and #2009-01-02#",
     "SELECT * from StockTable WHERE Rack='3' and Box='A' and Dates_ID between '2003-05-17 00:00:00' and '2009-01-02 00:00:00'"},
    {"SELECT * from StockTable WHERE Dates_ID between #1900-04-24# and #2500-12-31#",
     "SELECT * from StockTable WHERE Dates_ID between '1900-04-24 00:00:00' and '2500-12-31 00:00:00'"},
    {"SELECT DISTINCT Rack FROM StockTable ORDER BY Rack", "SELECT DISTINCT Rack FROM StockTable ORDER BY Rack"},
    {"SELECT MIN(Dates_ID) FROM StockTable", "SELECT MIN(Dates_ID) FROM StockTable"},
    {"SELECT MAX(Dates_ID) FROM StockTable", "SELECT MAX(Dates_ID) FROM StockTable"},
    {"SELECT * from StockTable WHERE Strain LIKE '%del%'", "SELECT * from StockTable WHERE Strain LIKE '%del%'"},
    {"SELECT * from StockTable WHERE Strain LIKE '%_%'", "SELECT * from StockTable WHERE Strain LIKE '%_%'"},
    {"SELECT * FROM StockTable WHERE Index_ID='R1_B2_P3'", "SELECT * FROM StockTable WHERE Index_ID='R1_B2_P3'"},
    {"INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Dates_ID, Comments) VALUES ('R1_B2_P3', 'R1', 'B2', 'P3', 'E. coli K12', #1900-04-24#, '');",
     "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Dates_ID, Comments) VALUES ('R1_B2_P3', 'R1', 'B2', 'P3', 'E. coli K12', '1900-04-24 00:00:00', '')"},
    {"INSERT INTO StockTable (Index_ID, Dates_ID) VALUES ('R1_B2_P3', #2008-12-21#)",
     "INSERT INTO StockTable (Index_ID, Dates_ID) VALUES ('R1_B2_P3', '2008-12-21 00:00:00')"},
    {"UPDATE StockTable SET Index_ID='R1_B2_P3', Rack='R1', Box='B2', Position='P3', Strain='E. coli K12', Dates_ID=#2008-12-21#, Comments='' WHERE Index_ID='R1_B2_P4'",
     "UPDATE StockTable SET Index_ID='R1_B2_P3', Rack='R1', Box='B2', Position='P3', Strain='E. coli K12', Dates_ID='2008-12-21 00:00:00', Comments='' WHERE Index_ID='R1_B2_P4'"},
    {"DELETE FROM StockTable WHERE Index_ID='R1_B2_P3'", "DELETE FROM StockTable WHERE Index_ID='R1_B2_P3'"},

    // Keywords in any case; and, or, not, <>, between, LIKE pass as they are.
    {"select distinct Box from StockTable order by Box", "select distinct Box from StockTable order by Box"},
    {"Select * From StockTable Where Rack='1' Or Rack='2' And Not Box<>'A'", "Select * From StockTable Where Rack='1' Or Rack='2' And Not Box<>'A'"},
    {"SELECT * FROM t WHERE n NOT BETWEEN 1 AND 3.5e2 OR s like 'a_c%'", "SELECT * FROM t WHERE n NOT BETWEEN 1 AND 3.5e2 OR s like 'a_c%'"},
    {"SELECT COUNT(*), MIN(a) FROM t WHERE a IN (SELECT a FROM u) AND b = ?", "SELECT COUNT(*), MIN(a) FROM t WHERE a IN (SELECT a FROM u) AND b = ?"},
    {"SELECT 5 - -3, a>=1, b<=2, c!=3 FROM t", "SELECT 5 - -3, a>=1, b<=2, c!=3 FROM t"},
    {"SELECT *\n\tFROM t\r\n WHERE a='1'", "SELECT *\n\tFROM t\r\n WHERE a='1'"},
    {"CREATE TABLE t (a TEXT(255) PRIMARY KEY, d DATETIME)", "CREATE TABLE t (a TEXT(255) PRIMARY KEY, d DATETIME)"},
    {"DROP TABLE t", "DROP TABLE t"},
    {"ALTER TABLE t ADD COLUMN c TEXT", "ALTER TABLE t ADD COLUMN c TEXT"},

    // Date literals in every accepted shape become the stored text.
    {"SELECT * FROM t WHERE d = #2008/12/21#", "SELECT * FROM t WHERE d = '2008-12-21 00:00:00'"},
    {"SELECT * FROM t WHERE d = #12/21/2008#", "SELECT * FROM t WHERE d = '2008-12-21 00:00:00'"},
    {"SELECT * FROM t WHERE d = #2008-12-21 14:30:15#", "SELECT * FROM t WHERE d = '2008-12-21 14:30:15'"},
    {"SELECT * FROM t WHERE d = #12/21/2008 2:30 PM#", "SELECT * FROM t WHERE d = '2008-12-21 14:30:00'"},
    {"SELECT * FROM t WHERE d=#0001-1-1#OR d=#9999-12-31#", "SELECT * FROM t WHERE d='0001-01-01 00:00:00'OR d='9999-12-31 00:00:00'"},
    {"SELECT * FROM t WHERE d = #2008-02-29#", "SELECT * FROM t WHERE d = '2008-02-29 00:00:00'"},

    // Nothing inside a text literal is rewritten.
    {"SELECT * FROM t WHERE c = 'a#b#c'", "SELECT * FROM t WHERE c = 'a#b#c'"},
    {"SELECT * FROM t WHERE c = '#2008-02-31#'", "SELECT * FROM t WHERE c = '#2008-02-31#'"},
    {"SELECT * FROM t WHERE c = 'x [y] z'", "SELECT * FROM t WHERE c = 'x [y] z'"},
    {"SELECT * FROM t WHERE c = 'a;b' OR c = ';'", "SELECT * FROM t WHERE c = 'a;b' OR c = ';'"},
    {"INSERT INTO t (a) VALUES ('x''; DROP TABLE t; --')", "INSERT INTO t (a) VALUES ('x''; DROP TABLE t; --')"},
    {"SELECT * FROM t WHERE c = 'a -- b /* c */'", "SELECT * FROM t WHERE c = 'a -- b /* c */'"},
    {"SELECT * FROM t WHERE c = 'it''s \"quoted\"'", "SELECT * FROM t WHERE c = 'it''s \"quoted\"'"},
    {"SELECT * FROM t WHERE c = 'TRUE' OR c = 'SELECT TOP 5'", "SELECT * FROM t WHERE c = 'TRUE' OR c = 'SELECT TOP 5'"},
    {"SELECT * FROM t WHERE c = ''''", "SELECT * FROM t WHERE c = ''''"},
    {"SELECT * FROM t WHERE c = 'tab\there\x01\x7f'", "SELECT * FROM t WHERE c = 'tab\there\x01\x7f'"},
    {"SELECT * FROM t WHERE c = 'Escherichia c\xc3\xb6li \xff\xfe'", "SELECT * FROM t WHERE c = 'Escherichia c\xc3\xb6li \xff\xfe'"},
    {"SELECT * FROM t WHERE c = 'line\nbreak'", "SELECT * FROM t WHERE c = 'line\nbreak'"},

    // [Bracketed] and `back-quoted` names become SQLite's "names".
    {"SELECT [Index_ID], [Strain Name] FROM [StockTable]", "SELECT \"Index_ID\", \"Strain Name\" FROM \"StockTable\""},
    {"SELECT [StockTable].[Rack] FROM StockTable", "SELECT \"StockTable\".\"Rack\" FROM StockTable"},
    {"SELECT [a\"b], [x'y], [#;--] FROM t", "SELECT \"a\"\"b\", \"x'y\", \"#;--\" FROM t"},
    {"SELECT `Strain Name` FROM t", "SELECT \"Strain Name\" FROM t"},
    {"SELECT [Ort\xc3\xa9] FROM t", "SELECT \"Ort\xc3\xa9\" FROM t"},

    // A "double-quoted" token is a text literal in Access.
    {"SELECT * FROM t WHERE Strain = \"E. coli\"", "SELECT * FROM t WHERE Strain = 'E. coli'"},
    {"SELECT * FROM t WHERE c = \"O'Brien\"", "SELECT * FROM t WHERE c = 'O''Brien'"},
    {"SELECT * FROM t WHERE c = \"say \"\"hi\"\"\"", "SELECT * FROM t WHERE c = 'say \"hi\"'"},
    {"SELECT * FROM t WHERE c = \"#; [x] --\"", "SELECT * FROM t WHERE c = '#; [x] --'"},
    {"SELECT * FROM t WHERE c = \"\"", "SELECT * FROM t WHERE c = ''"},

    // TRUE and FALSE are numbers; a column of that name after a dot stays a name.
    {"SELECT * FROM t WHERE b = TRUE OR c = false", "SELECT * FROM t WHERE b = 1 OR c = 0"},
    {"UPDATE t SET b=True WHERE c=FALSE", "UPDATE t SET b=1 WHERE c=0"},
    {"SELECT t.True, t.[False] FROM t", "SELECT t.True, t.\"False\" FROM t"},
    {"SELECT TrueValue FROM t", "SELECT TrueValue FROM t"},

    // SELECT TOP n becomes a LIMIT at the end.
    {"SELECT TOP 5 * FROM StockTable ORDER BY Dates_ID", "SELECT * FROM StockTable ORDER BY Dates_ID LIMIT 5"},
    {"select distinct top 3 Rack from StockTable order by Rack;", "select distinct Rack from StockTable order by Rack LIMIT 3"},
    {"SELECT TOP 1\n[Rack] FROM t\n", "SELECT \"Rack\" FROM t LIMIT 1"},
    {"SELECT Box, Top FROM t", "SELECT Box, Top FROM t"},

    // DELETE * FROM is Access's way of writing DELETE FROM.
    {"DELETE * FROM StockTable WHERE Index_ID='R1_B2_P3'", "DELETE FROM StockTable WHERE Index_ID='R1_B2_P3'"},
    {"delete *from t", "delete from t"},
    {"DELETE*FROM t", "DELETE FROM t"},

    // One trailing semicolon, with white space around it, ends the statement.
    {"DELETE FROM t WHERE a='1';", "DELETE FROM t WHERE a='1'"},
    {"DELETE FROM t WHERE a='1' ;  \r\n\t", "DELETE FROM t WHERE a='1'"},
    {"  SELECT 1  ", "  SELECT 1"},
};
// clang-format on

TEST(AccessDialect, TranslatesEachStatement) {
    for (const Accepted& c : kAccepted) {
        SCOPED_TRACE(std::string(c.access));
        Translation t = translateAccessSql(c.access);
        ASSERT_TRUE(t.ok) << t.sqlstate << " " << t.message;
        EXPECT_EQ(t.sql, c.sqlite);
        EXPECT_TRUE(t.sqlstate.empty());
        EXPECT_TRUE(t.message.empty());
    }
}

struct Refused {
    std::string_view access;
    const char* sqlstate;
    const char* cause; // a piece of the message
};

// clang-format off
const Refused kRefused[] = {
    // Dates that do not exist or are not dates; the message names the literal.
    {"SELECT * FROM StockTable WHERE Dates_ID = #2008-02-31#", "22007", "#2008-02-31#"},
    {"SELECT * FROM StockTable WHERE Dates_ID = #2008x12y21#", "22007", "#2008x12y21#"},
    {"SELECT * FROM StockTable WHERE Dates_ID between #2008-13-01# and #2009-01-01#", "22007", "#2008-13-01#"},
    {"SELECT * FROM StockTable WHERE Dates_ID between #2008-01-01# and #2009-02-29#", "22007", "#2009-02-29#"},
    {"INSERT INTO StockTable (Index_ID, Dates_ID) VALUES ('R1_B2_P3', #2008-04-31#);", "22007", "#2008-04-31#"},
    {"UPDATE StockTable SET Dates_ID=## WHERE Index_ID='R1_B2_P4'", "22007", "##"},
    {"UPDATE StockTable SET Dates_ID=#'; DROP TABLE StockTable; --# WHERE a='1'", "22007", "DROP TABLE"},
    {"SELECT * FROM t WHERE d = #2008-12-21 25:00#", "22007", "#2008-12-21 25:00#"},
    {"SELECT * FROM t WHERE d = #0000-01-01#", "22007", "#0000-01-01#"},

    // Unterminated literals and names.
    {"SELECT * FROM t WHERE d = #2008-12-21", "42000", "missing closing #"},
    {"SELECT * FROM t WHERE c = 'abc", "42000", "missing '"},
    {"SELECT * FROM t WHERE c = 'it''s", "42000", "position 27"},
    {"SELECT * FROM t WHERE c = 'a' OR c = '", "42000", "missing '"},
    {"SELECT * FROM t WHERE c = \"abc", "42000", "missing \""},
    {"SELECT [abc FROM t", "42000", "missing ]"},
    {"SELECT `abc FROM t", "42000", "missing `"},
    {"SELECT abc] FROM t", "42000", "unmatched ]"},
    {"SELECT [] FROM t", "42000", "empty name"},

    // A second statement, however it is hidden, refuses the whole text.
    {"SELECT 1; SELECT 2", "42000", "only one statement"},
    {"DELETE FROM StockTable WHERE Index_ID='R1'; DROP TABLE StockTable", "42000", "DROP TABLE"},
    {"SELECT 1;;", "42000", "only one statement"},
    {"SELECT 1; ;", "42000", "only one statement"},
    {"SELECT (1;)", "42000", "only one statement"},
    {"SELECT 1; #2008-02-31#", "42000", "only one statement"},
    {"SELECT 1;'x'", "42000", "only one statement"},

    // Comments are not Access SQL; they could hide the rest of a statement.
    {"SELECT * FROM t -- c", "42000", "comments"},
    {"SELECT * FROM t WHERE a=1--1", "42000", "comments"},
    {"SELECT * FROM t /* c */", "42000", "comments"},
    {"SELECT 1; -- a note", "42000", "only one statement"},
    {"SELECT * FROM t WHERE a='x' --'\n; DROP TABLE t", "42000", "comments"},

    // Nothing to run.
    {"", "42000", "empty statement"},
    {"  \n\t", "42000", "empty statement"},
    {";", "42000", "empty statement"},
    {" ; ", "42000", "empty statement"},

    // NUL would end SQLite's reading early, leaving a different statement.
    {"DELETE FROM t WHERE a='1'\0 AND b='2'"sv, "42000", "NUL"},
    {"SELECT * FROM t WHERE a='x\0y'"sv, "42000", "NUL"},
    {"\0"sv, "42000", "NUL"},

    // Statements Access does not have; some of them would make or write files.
    {"PRAGMA journal_mode=WAL", "42000", "PRAGMA"},
    {"ATTACH DATABASE 'other.db' AS other", "42000", "ATTACH"},
    {"VACUUM INTO '/tmp/copy.db'", "42000", "VACUUM"},
    {"WITH x AS (SELECT 1) SELECT * FROM x", "42000", "WITH"},
    {"(SELECT 1)", "42000", "("},
    {"'SELECT 1'", "42000", "'SELECT 1'"},
    {"[SELECT] 1", "42000", "[SELECT]"},

    // TOP only where it means a plain LIMIT.
    {"SELECT TOP 5 PERCENT * FROM t", "42000", "TOP"},
    {"SELECT * FROM t WHERE a IN (SELECT TOP 1 a FROM u)", "42000", "TOP"},
    {"INSERT INTO t SELECT TOP 1 * FROM u", "42000", "TOP"},
    {"SELECT TOP n * FROM t", "42000", "TOP"},
    {"SELECT TOP 2.5 * FROM t", "42000", "TOP"},
    {"SELECT TOP 5 * FROM t LIMIT 2", "42000", "TOP"},
    {"SELECT TOP 5 a FROM t UNION SELECT a FROM u", "42000", "TOP"},

    // Characters that mean something else to SQLite than to Access.
    {"SELECT * FROM t WHERE b = :name", "42000", "unexpected character"},
    {"SELECT * FROM t WHERE b = @name", "42000", "unexpected character"},
    {"SELECT * FROM t WHERE b = $name", "42000", "unexpected character"},
    {"SELECT * FROM t WHERE d = {d '2008-12-21'}", "42000", "unexpected character"},
    {"SELECT a \\ b FROM t", "42000", "unexpected character"},
    {"SELECT * FROM t WHERE b = ?1", "42000", "single ?"},
    {"SELECT 'a' & 'b'", "42000", "&"},
    {"SELECT \x01 FROM t", "42000", "position 8"},
    {"SELECT 1 \v", "42000", "unexpected character"},
};
// clang-format on

TEST(AccessDialect, RefusesEachStatement) {
    for (const Refused& c : kRefused) {
        SCOPED_TRACE(std::string(c.access));
        Translation t = translateAccessSql(c.access);
        ASSERT_FALSE(t.ok) << "translated to: " << t.sql;
        EXPECT_EQ(t.sqlstate, c.sqlstate);
        EXPECT_NE(t.message.find(c.cause), std::string::npos) << t.message;
        EXPECT_TRUE(t.sql.empty());
    }
}

struct Explained {
    std::string_view access;
    std::string_view message;
};

// clang-format off
// Messages name the cause and the place, quote a bounded piece of the
// statement, and stay one line of well-formed UTF-8 whatever the statement holds.
const Explained kExplained[] = {
    {"SELECT 'abc", "unterminated text literal (missing ') at position 8: 'abc"},
    {"SELECT * FROM t WHERE d = #2008-02-31#",
     "invalid date #2008-02-31# at position 27: a date is written #YYYY-MM-DD#, #YYYY/MM/DD# or "
     "#M/D/YYYY#, optionally with a time HH:MM[:SS], and must exist in the calendar"},
    {"SELECT 1; DROP TABLE t", "only one statement is accepted; text follows the ; at position 9: DROP TABLE t"},
    {"SELECT a FROM t -- note", "comments are not part of Access SQL at position 17: -- note"},
    {"SELECT \x01", "unexpected character at position 8: ? (byte 0x01)"},
    {"SELECT 'x\0"sv, "the statement contains a NUL character at position 10: ? (byte 0x00)"},
    {"SELECT 'a\nb", "unterminated text literal (missing ') at position 8: 'a?b"},
    {"SELECT 'ab\xff\xc3\xa9\xe2\x82", "unterminated text literal (missing ') at position 8: 'ab?\xc3\xa9??"},
    {"\xc0\xaf\xed\xa0\x80", "a statement begins with SELECT, INSERT, UPDATE, DELETE, CREATE, DROP or ALTER, not with: ?????"},
    {"SELECT '0123456789012345678901234567890123456789012345678901234567\xc3\xa9 and more",
     "unterminated text literal (missing ') at position 8: '0123456789012345678901234567890123456789012345678901234567\xc3\xa9..."},
    {"SELECT [] FROM t", "empty name [] at position 8"},
    {"SELECT TOP 5 PERCENT * FROM t", "TOP is supported only as SELECT [DISTINCT] TOP n at the start of the statement at position 8"},
};
// clang-format on

TEST(AccessDialect, ExplainsEachRefusal) {
    for (const Explained& c : kExplained) {
        SCOPED_TRACE(std::string(c.access));
        Translation t = translateAccessSql(c.access);
        ASSERT_FALSE(t.ok);
        EXPECT_EQ(t.message, c.message);
    }
}

// Texts of any length pass whole, and a long statement is no harder than a short one.
TEST(AccessDialect, KeepsLongTextsWhole) {
    std::string text;
    while (text.size() < (1u << 20)) {
        text += "xy'';#[--"; // escaped apostrophes and the dialect's special characters
    }
    std::string statement = "INSERT INTO t (c) VALUES ('" + text + "');";
    Translation t = translateAccessSql(statement);
    ASSERT_TRUE(t.ok) << t.message;
    EXPECT_EQ(t.sql, statement.substr(0, statement.size() - 1));
}

// The message quotes at most a bounded piece of the statement.
TEST(AccessDialect, KeepsMessagesShort) {
    std::string statement = "SELECT * FROM t WHERE c = '" + std::string(100000, 'x');
    Translation t = translateAccessSql(statement);
    ASSERT_FALSE(t.ok);
    EXPECT_EQ(t.sqlstate, "42000");
    EXPECT_LT(t.message.size(), 200u);
}

} // namespace
