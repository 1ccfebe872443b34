// create FILE [--columns SPEC]: a new database with an empty StockTable of
// the given layout plus one dummy item, as a user would prepare one by hand.
#include "commands/Commands.h"

#include "commands/Arguments.h"
#include "db/CellValue.h"
#include "db/PendingFile.h"
#include "db/Sqlite.h"
#include "schema/DateText.h"
#include "schema/Schema.h"

#include <ctime>

namespace rackbook {

namespace {

DateTime today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime day;
    day.year = local.tm_year + 1900;
    day.month = local.tm_mon + 1;
    day.day = local.tm_mday;
    return day;
}

// Place 1/1/1 with its key, today's date, and "dummy item" in the first
// description column when that holds text; everything else NULL.
std::vector<CellValue> dummyItem(const std::vector<Column>& columns) {
    std::vector<CellValue> values(columns.size());
    values[0] = CellValue::ofText("1_1_1");
    for (std::size_t i = 1; i <= 3; ++i)
        values[i] =
            columns[i].kind == ColumnKind::Text ? CellValue::ofText("1") : CellValue::ofInteger(1);
    values[findColumn(columns, kDateColumn)] = CellValue::ofText(formatStoredDateTime(today()));
    if (columns[4].kind == ColumnKind::Text || columns[4].kind == ColumnKind::Memo)
        values[4] = CellValue::ofText("dummy item");
    return values;
}

void writeNewDatabase(const std::string& path, const std::vector<Column>& columns) {
    Database db = Database::openNew(path);
    {
        Transaction transaction(db);
        db.exec(createTableSql(kStockTable, columns));
        Statement insert(db, insertSql(kStockTable, columns));
        auto values = dummyItem(columns);
        for (std::size_t i = 0; i < values.size(); ++i)
            bindCell(insert, static_cast<int>(i + 1), values[i]);
        insert.step();
        transaction.commit();
    }
    db.close();
}

} // namespace

void createCommand(const Words& args, std::ostream& out) {
    Arguments arguments("create", args, {"--columns"}, {}, 1, 1);
    auto spec = arguments.value("--columns");
    std::vector<Column> columns = spec ? parseColumnSpec(*spec) : defaultStockColumns();
    PendingFile file(arguments.positional(0));
    writeNewDatabase(file.tempPath(), columns);
    file.commit();
    out << "Created " << file.target() << ": table " << kStockTable << " with " << columns.size()
        << " columns and one dummy item (key 1_1_1)\n";
}

} // namespace rackbook
