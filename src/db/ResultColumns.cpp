// Statement execution and text fetching for the program's queries.
#include "db/ResultColumns.h"

#include "db/DbConnection.h"

#include <cstring>

SQLRETURN executeStatement(SQLHSTMT statement, const std::string& text) {
    return SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data())),
                         static_cast<SQLINTEGER>(text.size()));
}

int resultColumnCount(SQLHSTMT statement) {
    SQLSMALLINT count = 0;
    if (!succeeded(SQLNumResultCols(statement, &count)))
        return 0;
    return count;
}

ResultColumns::ResultColumns(SQLHSTMT statement, int count)
    : statement_(statement), buffers_(count > 0 ? count : 0), indicators_(buffers_.size(), 0) {
    for (size_t i = 0; i < buffers_.size(); ++i) {
        buffers_[i].fill('\0');
        SQLBindCol(statement_, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, buffers_[i].data(),
                   kBufferSize, &indicators_[i]);
    }
}

ResultColumns::~ResultColumns() {
    if (!buffers_.empty())
        SQLFreeStmt(statement_, SQL_UNBIND);
}

bool ResultColumns::fetch() {
    return succeeded(SQLFetch(statement_));
}

bool ResultColumns::isNull(int index) const {
    return indicators_[index] == SQL_NULL_DATA;
}

std::string ResultColumns::text(int index) const {
    return std::string(view(index));
}

std::string_view ResultColumns::view(int index) const {
    if (isNull(index))
        return std::string_view();
    const char* data = buffers_[index].data();
    return std::string_view(data, strnlen(data, kBufferSize));
}

std::string datePart(const std::string& text) {
    return text.substr(0, 10);
}

int dateColumnIndex(const std::vector<std::string>& columnNames) {
    for (size_t i = 0; i < columnNames.size(); ++i) {
        if (columnNames[i] == "Dates_ID")
            return static_cast<int>(i);
    }
    return -1;
}
