// libFuzzer target for the CSV reader and the import-csv command of
// rackbook-db. Besides the sanitizers' findings it stops on any broken
// promise:
//  - parseCsv: records start on strictly increasing lines from 1, each has a
//    field, a failure names a line at or after the last record read;
//  - what parseCsv read, written again with formatCsvRecord after a header
//    row (as the export writes it), reads back as the same texts, NULL and
//    empty kept apart;
//  - import-csv on a real database file (in a RAM folder when there is one)
//    ends with status 0 or 1, never by an escaping exception; a failure
//    leaves the file byte for byte as it was and no journal beside it; a
//    success adds exactly the records after the header, and export-csv gives
//    back each imported value as the column stores it.
// The table's layout is chosen by the header's width: 9 fields selects a
// layout with whole-number, decimal and yes/no columns, anything else the
// default layout of `create`.
#include "commands/Commands.h"
#include "csv/Csv.h"
#include "db/CellValue.h"
#include "db/Sqlite.h"
#include "schema/DateText.h"
#include "schema/Schema.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace rackbook;

namespace {

const char* const kTypedLayout =
    "Index_ID,Rack,Box,Position,Count:INTEGER,Volume:DOUBLE,Frozen:YESNO,Dates_ID,Notes:MEMO";

[[noreturn]] void broken(const char* promise, std::string_view input, const std::string& detail) {
    std::fprintf(stderr, "broken promise: %s\ninput:  %.*s\ndetail: %s\n", promise,
                 static_cast<int>(input.size()), input.data(), detail.c_str());
    std::abort();
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::abort();
}

// A new database of one layout, made once by the tool itself; each run
// starts from a fresh copy of its bytes.
struct Template {
    std::vector<Column> columns;
    std::string bytes;
    std::size_t records = 0; // the dummy item of `create`
};

// The fuzzer's own folder, removed when the process ends normally.
struct WorkFolder {
    fs::path path;
    WorkFolder() {
        std::string pattern = (fs::is_directory("/dev/shm") ? std::string("/dev/shm")
                                                            : fs::temp_directory_path().string()) +
                              "/rackbook-csv-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

WorkFolder& work() {
    static WorkFolder folder;
    return folder;
}

Template makeTemplate(const std::string& name, const Words& extra) {
    fs::path file = work().path / name;
    Words args{"create", file.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    if (runTool(args, out, err) != 0) {
        std::fprintf(stderr, "cannot make the template: %s", err.str().c_str());
        std::abort();
    }
    Template made;
    made.bytes = readBytes(file);
    made.records = 1;
    Database db = Database::openExisting(file.string(), false);
    made.columns = readTableColumns(db, kStockTable);
    db.close();
    fs::remove(file);
    return made;
}

const Template& templateFor(const CsvParseResult& parsed) {
    static const Template plain = makeTemplate("plain.mdb", {});
    static const Template typed = makeTemplate("typed.mdb", {"--columns", kTypedLayout});
    bool wantsTyped = !parsed.records.empty() && parsed.records[0].fields.size() == 9;
    return wantsTyped ? typed : plain;
}

void checkParse(std::string_view input, const CsvParseResult& parsed) {
    std::size_t previous = 0;
    for (const CsvRecord& record : parsed.records) {
        if (record.line <= previous)
            broken("records start on increasing lines from 1", input,
                   std::to_string(record.line) + " after " + std::to_string(previous));
        if (record.fields.empty())
            broken("every record has a field", input, std::to_string(record.line));
        previous = record.line;
    }
    if (!parsed.ok() && (parsed.errorLine == 0 || parsed.errorLine < previous))
        broken("a failure names the line of its record", input,
               std::to_string(parsed.errorLine) + ": " + parsed.error);
}

// A bare empty field is NULL; every other field is a text, possibly empty.
std::optional<std::string> valueOf(const CsvField& field) {
    if (field.text.empty() && !field.quoted)
        return std::nullopt;
    return field.text;
}

// As the export writes them, after a header row: a text written first could
// begin with a byte order mark, which a reader takes for the file's own.
void checkRoundTrip(std::string_view input, const CsvParseResult& parsed) {
    std::string written = formatCsvRecord({std::string("Index_ID")});
    for (const CsvRecord& record : parsed.records) {
        std::vector<std::optional<std::string>> values;
        for (const CsvField& field : record.fields)
            values.push_back(valueOf(field));
        written += formatCsvRecord(values);
    }
    CsvParseResult again = parseCsv(written);
    if (!again.ok() || again.records.size() != parsed.records.size() + 1)
        broken("written records read back whole", input, written);
    for (std::size_t r = 0; r < parsed.records.size(); ++r) {
        const auto& before = parsed.records[r].fields;
        const auto& after = again.records[r + 1].fields;
        if (before.size() != after.size())
            broken("written records keep their fields", input, written);
        for (std::size_t f = 0; f < before.size(); ++f)
            if (valueOf(before[f]) != valueOf(after[f]))
                broken("written fields read back as the same value", input, written);
    }
}

bool isTextKind(ColumnKind kind) {
    return kind == ColumnKind::Text || kind == ColumnKind::Memo;
}

// The text export-csv writes for `field` stored in a column of `kind`.
std::optional<std::string> expectedExport(const CsvField& field, ColumnKind kind) {
    if (field.text.empty())
        return field.quoted && isTextKind(kind) ? std::optional<std::string>("") : std::nullopt;
    std::string error;
    std::optional<CellValue> cell = cellFromText(kind, field.text, error);
    if (!cell)
        return std::string("<refused: ") + error + ">";
    switch (cell->type) {
    case CellValue::Type::Null:
        return std::nullopt;
    case CellValue::Type::Integer:
        return std::to_string(cell->integer);
    case CellValue::Type::Real:
        return formatReal(cell->real);
    case CellValue::Type::Text:
        break;
    }
    return kind == ColumnKind::DateTime ? exportDateText(cell->text) : cell->text;
}

void checkImported(std::string_view input, const CsvParseResult& parsed, const Template& layout,
                   const fs::path& db) {
    std::ostringstream csv, err;
    if (runTool({"export-csv", db.string()}, csv, err) != 0)
        broken("an imported database exports", input, err.str());
    CsvParseResult exported = parseCsv(csv.str());
    std::size_t added = parsed.records.size() - 1;
    if (!exported.ok() || exported.records.size() != 1 + layout.records + added)
        broken("an import adds exactly the records after the header", input, csv.str());
    for (std::size_t r = 0; r < added; ++r) {
        const CsvRecord& source = parsed.records[1 + r];
        const CsvRecord& stored = exported.records[1 + layout.records + r];
        for (std::size_t c = 0; c < layout.columns.size(); ++c) {
            std::optional<std::string> want =
                expectedExport(source.fields[c], layout.columns[c].kind);
            if (valueOf(stored.fields.at(c)) != want)
                broken("an imported value exports as stored", input,
                       "line " + std::to_string(source.line) + " column " + layout.columns[c].name +
                           ": " + stored.fields.at(c).text + " <> " + want.value_or("<NULL>"));
        }
    }
}

void checkImport(std::string_view input, const CsvParseResult& parsed) {
    const Template& layout = templateFor(parsed);
    const fs::path db = work().path / "stock.mdb";
    const fs::path source = work().path / "input.csv";
    writeBytes(db, layout.bytes);
    writeBytes(source, input);

    std::ostringstream out, err;
    int status = runTool({"import-csv", db.string(), source.string()}, out, err);
    if (status != 0 && status != 1)
        broken("an import ends with status 0 or 1", input, err.str());
    if (fs::exists(db.string() + "-journal"))
        broken("an import leaves no journal", input, err.str());
    if (status == 1) {
        if (err.str().rfind("rackbook-db: ", 0) != 0)
            broken("a failed import says why", input, err.str());
        if (readBytes(db) != layout.bytes)
            broken("a failed import leaves the file as it was", input, err.str());
        return;
    }
    if (!parsed.ok() || parsed.records.empty())
        broken("an import of unreadable text fails", input, out.str());
    checkImported(input, parsed, layout, db);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    CsvParseResult parsed = parseCsv(input);
    checkParse(input, parsed);
    checkRoundTrip(input, parsed);
    checkImport(input, parsed);
    return 0;
}
