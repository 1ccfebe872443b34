// import-mdb SOURCE.mdb TARGET [--table NAME] [--skip-unsupported]: a new
// database made from one table of a Microsoft Access file, losing nothing:
// column order, names and types, the primary key, NULLs, whole texts and
// every Date/Time value, converted here from its stored day number.
#include "commands/Commands.h"

#include "ToolError.h"
#include "commands/Arguments.h"
#include "db/PendingFile.h"
#include "db/Sqlite.h"
#include "mdb/AccessTable.h"
#include "mdb/AccessTypes.h"
#include "schema/DateText.h"
#include "schema/Schema.h"

#include <algorithm>
#include <cstdio>

namespace rackbook {

namespace {

// A source column and what becomes of it.
struct ColumnPlan {
    AccessColumn source;
    CarriedType carried;
    std::uint64_t valuesLeftOut = 0; // unsupported values met, with --skip-unsupported
};

std::string createSql(const std::string& table, const std::vector<ColumnPlan>& plan,
                      const std::vector<std::string>& primaryKey) {
    std::string sql = "CREATE TABLE " + quoteName(table) + " (";
    bool first = true;
    for (const auto& column : plan) {
        if (!column.carried.supported)
            continue;
        sql +=
            (first ? "" : ", ") + quoteName(column.source.name) + " " + column.carried.declaredType;
        // SQLite lets a NULL into a key column unless told otherwise; Access does not.
        if (std::find(primaryKey.begin(), primaryKey.end(), column.source.name) != primaryKey.end())
            sql += " NOT NULL";
        first = false;
    }
    if (!primaryKey.empty()) {
        sql += ", PRIMARY KEY (";
        for (std::size_t i = 0; i < primaryKey.size(); ++i)
            sql += (i ? ", " : "") + quoteName(primaryKey[i]);
        sql += ")";
    }
    return sql + ")";
}

std::string insertSqlFor(const std::string& table, const std::vector<ColumnPlan>& plan) {
    std::string names;
    std::string marks;
    for (const auto& column : plan) {
        if (!column.carried.supported)
            continue;
        names += (names.empty() ? "" : ", ") + quoteName(column.source.name);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + quoteName(table) + " (" + names + ") VALUES (" + marks + ")";
}

std::string rowName(std::uint64_t row) {
    return "row " + std::to_string(row);
}

void bindValue(Statement& insert, int index, const AccessValue& value, const ColumnPlan& column,
               std::uint64_t row) {
    switch (value.kind) {
    case AccessValue::Kind::Null:
        insert.bindNull(index);
        return;
    case AccessValue::Kind::Text:
        insert.bindText(index, value.text);
        return;
    case AccessValue::Kind::Integer:
        insert.bindInt64(index, value.integer);
        return;
    case AccessValue::Kind::Real:
        insert.bindDouble(index, value.real);
        return;
    case AccessValue::Kind::Days: {
        auto date = dateTimeFromAccessDays(value.real);
        if (!date) {
            char number[40];
            std::snprintf(number, sizeof number, "%.17g", value.real);
            throw ToolError(rowName(row) + ", column " + column.source.name +
                            ": the Date/Time value " + number + " lies outside years 1 to 9999");
        }
        insert.bindText(index, formatStoredDateTime(*date));
        return;
    }
    case AccessValue::Kind::Unsupported:
        break;
    }
    throw ToolError(rowName(row) + ", column " + column.source.name + ": a value of type " +
                    column.carried.accessName + " cannot be carried");
}

// Refuses a column left over that cannot be carried, unless it may be left out.
void checkUnsupported(std::vector<ColumnPlan>& plan, const std::vector<AccessValue>& values,
                      std::uint64_t row, bool skip) {
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].carried.supported || values[i].kind == AccessValue::Kind::Null)
            continue;
        if (!skip)
            throw ToolError(rowName(row) + ", column " + plan[i].source.name +
                            ": a value of type " + plan[i].carried.accessName +
                            " cannot be carried (give --skip-unsupported to leave the column out)");
        ++plan[i].valuesLeftOut;
    }
}

struct ImportCounts {
    std::uint64_t records = 0;
    std::size_t columns = 0;
};

ImportCounts copyTable(AccessTable& source, Database& target, std::vector<ColumnPlan>& plan,
                       bool skip) {
    ImportCounts counts;
    for (const auto& column : plan)
        counts.columns += column.carried.supported ? 1 : 0;
    if (counts.columns == 0)
        throw ToolError("table " + source.name() + " has no column that can be carried");

    Transaction transaction(target);
    target.exec(createSql(source.name(), plan, source.primaryKey()));
    {
        Statement insert(target, insertSqlFor(source.name(), plan));
        std::vector<AccessValue> values;
        while (source.nextRow(values)) {
            ++counts.records;
            checkUnsupported(plan, values, counts.records, skip);
            int index = 0;
            for (std::size_t i = 0; i < plan.size(); ++i)
                if (plan[i].carried.supported)
                    bindValue(insert, ++index, values[i], plan[i], counts.records);
            insert.step();
            insert.reset();
        }
    }
    Statement count(target, "SELECT count(*) FROM " + quoteName(source.name()));
    count.step();
    auto written = static_cast<std::uint64_t>(count.columnInt64(0));
    if (written != counts.records || written != source.storedRowCount())
        throw ToolError("the record counts disagree: the source table keeps " +
                        std::to_string(source.storedRowCount()) + ", " +
                        std::to_string(counts.records) + " were read and " +
                        std::to_string(written) + " written");
    transaction.commit();
    return counts;
}

void reportLeftOut(const std::vector<ColumnPlan>& plan, std::ostream& out) {
    for (const auto& column : plan) {
        if (column.carried.supported)
            continue;
        out << "Left out: column " << column.source.name << " (" << column.carried.accessName
            << ", " << column.valuesLeftOut << " values)\n";
    }
}

// A column that cannot be carried and held no value still may not vanish
// silently.
void refuseEmptyUnsupported(const std::vector<ColumnPlan>& plan) {
    for (const auto& column : plan)
        if (!column.carried.supported)
            throw ToolError("column " + column.source.name + " has the type " +
                            column.carried.accessName +
                            ", which cannot be carried (no row holds a value; give "
                            "--skip-unsupported to leave the column out)");
}

} // namespace

void importMdbCommand(const Words& args, std::ostream& out) {
    Arguments arguments("import-mdb", args, {"--table"}, {"--skip-unsupported"}, 2, 2);
    const std::string& sourcePath = arguments.positional(0);
    std::string tableName = arguments.value("--table").value_or(kStockTable);
    bool skip = arguments.flag("--skip-unsupported");

    PendingFile file(arguments.positional(1));
    AccessTable source(sourcePath, tableName);
    std::vector<ColumnPlan> plan;
    for (const auto& column : source.columns())
        plan.push_back({column, carriedTypeOf(column.type, column.textChars)});

    ImportCounts counts;
    {
        Database target = Database::openNew(file.tempPath());
        try {
            counts = copyTable(source, target, plan, skip);
        } catch (const ToolError& e) {
            throw ToolError(sourcePath + ", table " + source.name() + ": " + e.what());
        }
        if (!skip)
            refuseEmptyUnsupported(plan);
        target.close();
    }
    file.commit();

    out << "Imported " << counts.records << " records and " << counts.columns
        << " columns of table " << source.name() << " from " << sourcePath << " into "
        << file.target() << "\n";
    reportLeftOut(plan, out);
    if (source.name() != kStockTable)
        out << "Note: the program reads the table " << kStockTable << "; this database holds "
            << source.name() << "\n";
}

} // namespace rackbook
