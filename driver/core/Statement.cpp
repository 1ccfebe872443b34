// The statement handle: preparing Access-dialect text on SQLite, running it,
// and walking its rows into the client's buffers.
#include "AccessDialect.h"
#include "Handles.h"
#include "Parameters.h"
#include "SqliteErrors.h"
#include "Trace.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace mdblite {

namespace {

// The first word of an SQL text, in upper case.
std::string firstKeyword(const std::string& sql) {
    size_t i = 0;
    while (i < sql.size() && !std::isalpha(static_cast<unsigned char>(sql[i])))
        ++i;
    std::string word;
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    return word;
}

// True when `tail` holds another statement (not only blanks, comments, semicolons).
bool holdsAnotherStatement(sqlite3* db, const char* tail) {
    while (tail && *tail) {
        sqlite3_stmt* extra = nullptr;
        const char* rest = nullptr;
        int rc = sqlite3_prepare_v2(db, tail, -1, &extra, &rest);
        if (rc != SQLITE_OK || extra) {
            sqlite3_finalize(extra);
            return true;
        }
        if (rest == tail)
            break;
        tail = rest;
    }
    return false;
}

template <typename T> T* offsetPointer(T* pointer, const SQLLEN* offset) {
    if (!pointer || !offset)
        return pointer;
    return reinterpret_cast<T*>(reinterpret_cast<char*>(pointer) + *offset);
}

} // namespace

Statement::Statement(Connection& connection) : connection_(connection) {
    for (Descriptor& descriptor : descriptors_)
        descriptor.owner = this;
    traceAlloc("stmt", this);
}

Statement::~Statement() {
    cursor_.reset();
    prepared_.reset();
    tag_ = HandleTag::Dead;
    traceFree("stmt", this);
}

Statement* Statement::from(SQLHANDLE handle) {
    auto* statement = static_cast<Statement*>(handle);
    if (!statement || statement->tag_ != HandleTag::Statement)
        return nullptr;
    return statement;
}

SQLRETURN Statement::translate(std::string_view accessSql, std::string& sqliteSql,
                               Diagnostics& diag) {
    Translation translation = translateAccessSql(accessSql);
    if (!translation.ok) {
        const std::string state = translation.sqlstate.empty() ? "42000" : translation.sqlstate;
        return diag.error(state, translation.message);
    }
    sqliteSql = std::move(translation.sql);
    return SQL_SUCCESS;
}

SQLRETURN Statement::prepare(std::string_view accessSql) {
    closeCursor();
    prepared_.reset();
    preparedColumns_.clear();
    preparedColumnsKnown_ = false;
    rowCount_ = -1;
    receivedText_.assign(accessSql);
    sqlite3* db = connection_.db();
    if (!db)
        return diag.error("08003", "Connection not open");

    std::string sql;
    if (translate(accessSql, sql, diag) != SQL_SUCCESS)
        return SQL_ERROR;

    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail);
    std::unique_ptr<sqlite3_stmt, Finalizer> statement(raw);
    if (rc != SQLITE_OK) {
        reportSqliteError(db, rc, SqlitePhase::Prepare, diag);
        return SQL_ERROR;
    }
    if (!statement)
        return diag.error("42000", "Syntax error or access violation (the statement is empty)");
    const std::string rest(tail, sql.c_str() + sql.size());
    if (holdsAnotherStatement(db, rest.c_str()))
        return diag.error("42000", "Syntax error or access violation (the text holds more than "
                                   "one statement; nothing was run)");
    const std::string keyword = firstKeyword(sql);
    isChange_ = keyword == "INSERT" || keyword == "UPDATE" || keyword == "DELETE" ||
                keyword == "REPLACE" || (keyword == "WITH" && !sqlite3_stmt_readonly(raw));
    prepared_ = std::move(statement);
    return SQL_SUCCESS;
}

SQLRETURN Statement::execute() {
    traceExec(receivedText_);
    if (!prepared_)
        return diag.error("HY010", "Function sequence error (no statement is prepared)");
    closeCursor();
    rowCount_ = -1;
    if (connection_.beginIfManual(diag) != SQL_SUCCESS)
        return SQL_ERROR;
    SQLRETURN rc = bindParameters();
    if (rc == SQL_ERROR)
        return rc;

    sqlite3_stmt* statement = prepared_.get();
    int step = sqlite3_step(statement);
    if (step == SQLITE_ROW) {
        cursor_ = std::make_unique<SqliteResultSet>(statement, true);
    } else if (step == SQLITE_DONE) {
        if (sqlite3_column_count(statement) > 0) {
            cursor_ = std::make_unique<SqliteResultSet>(statement, false);
        } else {
            if (isChange_)
                rowCount_ = static_cast<SQLLEN>(sqlite3_changes64(connection_.db()));
            sqlite3_reset(statement);
        }
    } else {
        reportSqliteError(connection_.db(), step, SqlitePhase::Run, diag);
        sqlite3_reset(statement);
        return SQL_ERROR;
    }
    rowsFetched_ = 0;
    diag.setRowCount(rowCount_);
    return rc;
}

SQLRETURN Statement::executeDirect(std::string_view accessSql) {
    if (prepare(accessSql) != SQL_SUCCESS) {
        traceExec(accessSql);
        return SQL_ERROR;
    }
    return execute();
}

void Statement::openRows(std::unique_ptr<ResultSet> rows) {
    closeCursor();
    prepared_.reset();
    preparedColumnsKnown_ = false;
    rowCount_ = -1;
    rowsFetched_ = 0;
    cursor_ = std::move(rows);
}

void Statement::closeCursor() {
    cursor_.reset();
    onRow_ = false;
    pieceColumn_ = -1;
}

const std::vector<ColumnInfo>& Statement::columns() {
    if (cursor_)
        return cursor_->columns();
    if (prepared_ && !preparedColumnsKnown_) {
        preparedColumns_ = describeSqliteColumns(prepared_.get(), false);
        preparedColumnsKnown_ = true;
    }
    return preparedColumns_;
}

SQLRETURN Statement::fetch() {
    if (!cursor_)
        return diag.error("24000", "Invalid cursor state (no result set is open)");
    if (attributes.rowsFetched)
        *attributes.rowsFetched = 0;
    onRow_ = false;
    pieceColumn_ = -1;
    StepResult step = StepResult::End;
    if (attributes.maxRows == 0 || rowsFetched_ < attributes.maxRows)
        step = cursor_->next(diag);
    if (step == StepResult::End)
        return SQL_NO_DATA;
    if (step == StepResult::Error) {
        if (attributes.rowStatus)
            attributes.rowStatus[0] = SQL_ROW_ERROR;
        return SQL_ERROR;
    }
    onRow_ = true;
    ++rowsFetched_;
    SQLRETURN rc = fetchBoundColumns();
    if (attributes.rowsFetched)
        *attributes.rowsFetched = 1;
    if (attributes.rowStatus)
        attributes.rowStatus[0] = rc == SQL_SUCCESS             ? SQL_ROW_SUCCESS
                                  : rc == SQL_SUCCESS_WITH_INFO ? SQL_ROW_SUCCESS_WITH_INFO
                                                                : SQL_ROW_ERROR;
    return rc;
}

SQLRETURN Statement::fetchBoundColumns() {
    SQLRETURN rc = SQL_SUCCESS;
    const std::vector<ColumnInfo>& columns = cursor_->columns();
    for (const BoundColumn& binding : bound_) {
        if (binding.column > columns.size())
            return diag.error("07009", "Invalid descriptor index (column " +
                                           std::to_string(binding.column) +
                                           " is bound but the "
                                           "result has " +
                                           std::to_string(columns.size()) + " columns)");
        CTarget target = binding.target;
        target.data = offsetPointer(target.data, attributes.rowBindOffset);
        target.indicator = offsetPointer(target.indicator, attributes.rowBindOffset);
        const int col = binding.column - 1;
        rc = combineResults(
            rc, convertValue(*cursor_, col, columns[col].type.sqlType, target, nullptr, diag));
    }
    return rc;
}

SQLRETURN Statement::getData(SQLUSMALLINT column, const CTarget& target) {
    if (!cursor_ || !onRow_)
        return diag.error("24000", "Invalid cursor state (no current row)");
    const std::vector<ColumnInfo>& columns = cursor_->columns();
    if (column == 0 || column > columns.size())
        return diag.error("07009",
                          "Invalid descriptor index (column " + std::to_string(column) + ")");
    if (pieceColumn_ != column) {
        pieceColumn_ = column;
        piece_ = PieceState{};
    }
    return convertValue(*cursor_, column - 1, columns[column - 1].type.sqlType, target, &piece_,
                        diag);
}

SQLRETURN Statement::bindColumn(SQLUSMALLINT column, const CTarget& target) {
    if (column == 0)
        return diag.error("07009", "Invalid descriptor index (bookmarks are not supported)");
    auto place = std::lower_bound(
        bound_.begin(), bound_.end(), column,
        [](const BoundColumn& binding, SQLUSMALLINT wanted) { return binding.column < wanted; });
    const bool exists = place != bound_.end() && place->column == column;
    if (!target.data && !target.indicator) {
        if (exists)
            bound_.erase(place);
        return SQL_SUCCESS;
    }
    if (exists)
        place->target = target;
    else
        bound_.insert(place, BoundColumn{column, target});
    return SQL_SUCCESS;
}

SQLRETURN Statement::bindParameter(const BoundParameter& parameter) {
    if (parameter.number == 0)
        return diag.error("07009", "Invalid descriptor index (parameter 0)");
    auto place = std::find_if(parameters_.begin(), parameters_.end(),
                              [&](const auto& p) { return p.number == parameter.number; });
    if (place != parameters_.end())
        *place = parameter;
    else
        parameters_.push_back(parameter);
    return SQL_SUCCESS;
}

SQLSMALLINT Statement::parameterCount() const {
    return prepared_ ? static_cast<SQLSMALLINT>(sqlite3_bind_parameter_count(prepared_.get())) : 0;
}

SQLRETURN Statement::bindParameters() {
    sqlite3_stmt* statement = prepared_.get();
    sqlite3_clear_bindings(statement);
    const int wanted = sqlite3_bind_parameter_count(statement);
    for (int number = 1; number <= wanted; ++number) {
        auto found = std::find_if(parameters_.begin(), parameters_.end(),
                                  [&](const auto& p) { return p.number == number; });
        if (found == parameters_.end())
            return diag.error("07002", "COUNT field incorrect (parameter " +
                                           std::to_string(number) + " is not bound)");
        if (bindParameterValue(statement, number, *found, attributes.paramBindOffset, diag) !=
            SQL_SUCCESS)
            return SQL_ERROR;
    }
    if (attributes.paramsProcessed)
        *attributes.paramsProcessed = 1;
    if (attributes.paramStatus)
        attributes.paramStatus[0] = SQL_PARAM_SUCCESS;
    return SQL_SUCCESS;
}

Descriptor* Statement::descriptor(SQLINTEGER attribute) {
    switch (attribute) {
    case SQL_ATTR_APP_ROW_DESC:
        return &descriptors_[0];
    case SQL_ATTR_APP_PARAM_DESC:
        return &descriptors_[1];
    case SQL_ATTR_IMP_ROW_DESC:
        return &descriptors_[2];
    case SQL_ATTR_IMP_PARAM_DESC:
        return &descriptors_[3];
    default:
        return nullptr;
    }
}

} // namespace mdblite
