// import-csv and export-csv: StockTable to and from RFC 4180 text with a
// header row.  An import checks everything before it commits anything.
#include "commands/Commands.h"

#include "ToolError.h"
#include "commands/Arguments.h"
#include "csv/Csv.h"
#include "db/CellValue.h"
#include "db/PendingFile.h"
#include "db/Sqlite.h"
#include "schema/Schema.h"

#include <fstream>
#include <sstream>

namespace rackbook {

namespace {

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ToolError(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw ToolError(path + ": read error");
    return text.str();
}

// Throws unless the header names the table's columns in the table's order.
void checkHeader(const std::string& csvPath, const CsvRecord& header,
                 const std::vector<Column>& columns) {
    std::size_t common = std::min(header.fields.size(), columns.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!sameName(header.fields[i].text, columns[i].name))
            throw ToolError(csvPath + ": line " + std::to_string(header.line) + ": header column " +
                            std::to_string(i + 1) + " is \"" + header.fields[i].text +
                            "\" where the table has " + columns[i].name);
    }
    if (header.fields.size() < columns.size())
        throw ToolError(csvPath + ": line " + std::to_string(header.line) + ": the header has " +
                        std::to_string(header.fields.size()) + " columns, the table " +
                        std::to_string(columns.size()) + " (" + columns[common].name +
                        " is missing)");
    if (header.fields.size() > columns.size())
        throw ToolError(csvPath + ": line " + std::to_string(header.line) + ": the header has " +
                        std::to_string(header.fields.size()) + " columns, the table only " +
                        std::to_string(columns.size()) + " (\"" + header.fields[common].text +
                        "\" is extra)");
}

// The cells of one record; throws naming the line and the column at fault.
std::vector<CellValue> recordCells(const std::string& csvPath, const CsvRecord& record,
                                   const std::vector<Column>& columns) {
    std::string where = csvPath + ": line " + std::to_string(record.line) + ": ";
    if (record.fields.size() != columns.size())
        throw ToolError(where + "the record has " + std::to_string(record.fields.size()) +
                        " fields, the header " + std::to_string(columns.size()));
    std::vector<CellValue> cells;
    cells.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const CsvField& field = record.fields[i];
        if (field.text.empty()) {
            if (i == 0 && !field.quoted)
                throw ToolError(where + columns[0].name + " is empty");
            bool text = columns[i].kind == ColumnKind::Text || columns[i].kind == ColumnKind::Memo;
            cells.push_back(field.quoted && text ? CellValue::ofText("") : CellValue::null());
            continue;
        }
        std::string error;
        auto cell = cellFromText(columns[i].kind, field.text, error);
        if (!cell)
            throw ToolError(where + columns[i].name + ": " + error);
        cells.push_back(std::move(*cell));
    }
    return cells;
}

void insertRecord(Database& db, Statement& insert, const std::string& csvPath,
                  const CsvRecord& record, const std::vector<CellValue>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i)
        bindCell(insert, static_cast<int>(i + 1), cells[i]);
    try {
        insert.step();
    } catch (const ToolError& e) {
        std::string where = csvPath + ": line " + std::to_string(record.line) + ": ";
        if (sqlite3_extended_errcode(db.handle()) == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw ToolError(where + "the key \"" + record.fields[0].text +
                            "\" is already in the table");
        throw ToolError(where + e.what());
    }
    insert.reset();
}

void writeCsv(Database& db, const std::vector<Column>& columns, std::ostream& out,
              std::size_t& records) {
    std::vector<std::optional<std::string>> header;
    for (const auto& column : columns)
        header.push_back(column.name);
    out << formatCsvRecord(header);
    Statement select(db, "SELECT * FROM " + quoteName(kStockTable) + " ORDER BY rowid");
    std::vector<std::optional<std::string>> values(columns.size());
    while (select.step()) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            values[i] = exportCell(select, static_cast<int>(i), columns[i].kind);
        out << formatCsvRecord(values);
        ++records;
    }
}

} // namespace

void importCsvCommand(const Words& args, std::ostream& out) {
    Arguments arguments("import-csv", args, {}, {"--replace"}, 2, 2);
    const std::string& dbPath = arguments.positional(0);
    const std::string& csvPath = arguments.positional(1);
    Database db = Database::openExisting(dbPath, true);
    auto columns = readTableColumns(db, kStockTable);
    std::string text = readWholeFile(csvPath);
    CsvParseResult parsed = parseCsv(text);
    if (!parsed.ok())
        throw ToolError(csvPath + ": line " + std::to_string(parsed.errorLine) + ": " +
                        parsed.error);
    if (parsed.records.empty())
        throw ToolError(csvPath + ": is empty; it needs at least the header row");
    checkHeader(csvPath, parsed.records[0], columns);

    std::size_t count = 0;
    {
        Transaction transaction(db);
        if (arguments.flag("--replace"))
            db.exec("DELETE FROM " + quoteName(kStockTable));
        Statement insert(db, insertSql(kStockTable, columns));
        for (std::size_t r = 1; r < parsed.records.size(); ++r) {
            const CsvRecord& record = parsed.records[r];
            insertRecord(db, insert, csvPath, record, recordCells(csvPath, record, columns));
            ++count;
        }
        transaction.commit();
    }
    db.close();
    out << "Imported " << count << " records from " << csvPath << " into " << kStockTable << " of "
        << dbPath << "\n";
}

void exportCsvCommand(const Words& args, std::ostream& out) {
    Arguments arguments("export-csv", args, {}, {}, 1, 2);
    Database db = Database::openExisting(arguments.positional(0), false);
    auto columns = readTableColumns(db, kStockTable);
    std::size_t records = 0;
    if (arguments.positionalCount() < 2 || arguments.positional(1) == "-") {
        writeCsv(db, columns, out, records);
        return;
    }
    PendingFile file(arguments.positional(1));
    {
        std::ofstream csv(file.tempPath(), std::ios::binary | std::ios::trunc);
        writeCsv(db, columns, csv, records);
        csv.close();
        if (!csv)
            throw ToolError(file.target() + ": write error");
    }
    file.commit();
    out << "Exported " << records << " records from " << kStockTable << " of "
        << arguments.positional(0) << " to " << file.target() << "\n";
}

} // namespace rackbook
