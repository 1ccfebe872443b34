// The CSV reader and writer, as tables of texts and the records they hold.
#include "csv/Csv.h"

#include <gtest/gtest.h>

using namespace rackbook;

namespace {

// Renders records as "line:field|field;" with quoted fields marked by <>,
// so that one string shows everything a case expects.
std::string render(const CsvParseResult& result) {
    std::string out;
    for (const auto& record : result.records) {
        out += std::to_string(record.line) + ":";
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            if (i)
                out += "|";
            const auto& field = record.fields[i];
            out += field.quoted ? "<" + field.text + ">" : field.text;
        }
        out += ";";
    }
    return out;
}

struct ParseCase {
    const char* name;
    std::string text;
    std::string expected;
};

class CsvParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CsvParse, ReadsRecords) {
    CsvParseResult result = parseCsv(GetParam().text);
    EXPECT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(render(result), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvParse,
    ::testing::Values(
        ParseCase{"Plain", "a,b,c\n1,2,3\n", "1:a|b|c;2:1|2|3;"},
        ParseCase{"Crlf", "a,b\r\n1,2\r\n", "1:a|b;2:1|2;"},
        ParseCase{"NoFinalLineEnd", "a,b\n1,2", "1:a|b;2:1|2;"},
        ParseCase{"LoneCr", "a\r1\r", "1:a;2:1;"}, ParseCase{"EmptyFields", ",x,\n", "1:|x|;"},
        ParseCase{"QuotedEmpty", "\"\",x\n", "1:<>|x;"},
        ParseCase{"QuotedComma", "\"a,b\",c\n", "1:<a,b>|c;"},
        ParseCase{"DoubledQuote", "\"say \"\"hi\"\"\",x\n", "1:<say \"hi\">|x;"},
        ParseCase{"EmbeddedLf", "\"one\ntwo\",x\nnext\n", "1:<one\ntwo>|x;3:next;"},
        ParseCase{"EmbeddedCrlfKept", "\"one\r\ntwo\"\r\nnext\r\n", "1:<one\r\ntwo>;3:next;"},
        ParseCase{"BlankLinesSkipped", "a\n\n\r\nb\n", "1:a;4:b;"},
        ParseCase{"ByteOrderMark",
                  "\xEF\xBB\xBF"
                  "a,b\n",
                  "1:a|b;"},
        ParseCase{"BlanksKept", " a , b \n", "1: a | b ;"},
        ParseCase{"QuoteInsideBareField", "ab\"c,d\n", "1:ab\"c|d;"},
        ParseCase{"Utf8", "\xCE\x94lacZ,x\n", "1:\xCE\x94lacZ|x;"}, ParseCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::size_t recordsKept;
};

class CsvParseBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(CsvParseBad, NamesTheLineOfTheBadRecord) {
    CsvParseResult result = parseCsv(GetParam().text);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.errorLine, GetParam().line);
    EXPECT_EQ(result.records.size(), GetParam().recordsKept);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvParseBad,
                         ::testing::Values(BadCase{"Unterminated", "a\n\"open,b\nc\n", 2, 1},
                                           BadCase{"TextAfterQuote", "a\nb\n\"x\"y,z\n", 3, 2},
                                           BadCase{"AfterMultiLineField", "\"a\nb\"\n\"c\"d\n", 3,
                                                   1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FieldCase {
    std::string text;
    bool force;
    std::string expected;
};

class CsvFormatField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFormatField, QuotesOnlyWhenNeeded) {
    EXPECT_EQ(formatCsvField(GetParam().text, GetParam().force), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvFormatField,
                         ::testing::Values(FieldCase{"plain", false, "plain"},
                                           FieldCase{"a,b", false, "\"a,b\""},
                                           FieldCase{"say \"hi\"", false, "\"say \"\"hi\"\"\""},
                                           FieldCase{"one\ntwo", false, "\"one\ntwo\""},
                                           FieldCase{"cr\rhere", false, "\"cr\rhere\""},
                                           FieldCase{" padded", false, "\" padded\""},
                                           FieldCase{"", false, ""}, FieldCase{"", true, "\"\""}));

TEST(CsvFormatRecord, NullIsBareEmptyAndEmptyTextIsQuoted) {
    EXPECT_EQ(
        formatCsvRecord({std::string("a"), std::nullopt, std::string(""), std::string("x,y")}),
        "a,,\"\",\"x,y\"\r\n");
}

TEST(CsvRoundTrip, WrittenRecordsReadBackUnchanged) {
    std::vector<std::vector<std::optional<std::string>>> rows = {
        {std::string("k1"), std::string("line one\nline two"), std::nullopt},
        {std::string("k2"), std::string("\"quoted\", and comma"), std::string("")},
        {std::string(" lead"), std::string("crlf\r\ninside"), std::string("end ")}};
    std::string text;
    for (const auto& row : rows)
        text += formatCsvRecord(row);
    CsvParseResult result = parseCsv(text);
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.records.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(result.records[r].fields.size(), rows[r].size());
        for (std::size_t f = 0; f < rows[r].size(); ++f) {
            const CsvField& field = result.records[r].fields[f];
            if (!rows[r][f]) {
                EXPECT_TRUE(field.text.empty() && !field.quoted) << r << "," << f;
            } else {
                EXPECT_EQ(field.text, *rows[r][f]) << r << "," << f;
            }
        }
    }
    EXPECT_EQ(result.records[1].line, 3u); // the first record spans two lines
}

} // namespace
