// demo FILE --records N [--seed S]: a new database with N made-up stock
// records in the default layout, written in one transaction.
#include "commands/Commands.h"

#include "ToolError.h"
#include "commands/Arguments.h"
#include "db/PendingFile.h"
#include "db/Sqlite.h"
#include "demo/Demo.h"
#include "schema/Schema.h"

namespace rackbook {

namespace {

void writeDemo(const std::string& path, std::uint64_t records, std::uint64_t seed) {
    auto columns = defaultStockColumns();
    Database db = Database::openNew(path);
    {
        Transaction transaction(db);
        db.exec(createTableSql(kStockTable, columns));
        Statement insert(db, insertSql(kStockTable, columns));
        DemoGenerator generator(seed);
        for (std::uint64_t n = 0; n < records; ++n) {
            DemoRecord record = generator.next();
            for (std::size_t i = 0; i < record.size(); ++i)
                insert.bindOptionalText(static_cast<int>(i + 1), record[i]);
            insert.step();
            insert.reset();
        }
        transaction.commit();
    }
    db.close();
}

} // namespace

void demoCommand(const Words& args, std::ostream& out) {
    Arguments arguments("demo", args, {"--records", "--seed"}, {}, 1, 1);
    if (!arguments.value("--records"))
        throw UsageError("demo: --records N is required");
    std::uint64_t records = arguments.number("--records", 0, 1, 10000000);
    std::uint64_t seed = arguments.number("--seed", 1, 0, UINT64_MAX);
    PendingFile file(arguments.positional(0));
    writeDemo(file.tempPath(), records, seed);
    file.commit();
    out << "Created " << file.target() << ": " << records << " demo records in " << kStockTable
        << " (seed " << seed << ")\n";
}

} // namespace rackbook
