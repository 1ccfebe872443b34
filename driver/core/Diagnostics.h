// Diagnostic records of one ODBC handle: what SQLGetDiagRec and SQLGetDiagField
// report after a call. Every entry point clears them first, then adds a record
// for each warning or error it meets.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace mdblite {

struct DiagRecord {
    std::string sqlstate; // five characters
    SQLINTEGER nativeError = 0;
    std::string message; // includes the "[mdblite]" origin prefix
};

class Diagnostics {
public:
    void clear() {
        records_.clear();
        returnCode_ = SQL_SUCCESS;
        rowCount_ = 0;
    }

    // Adds a record; `message` is the cause without the origin prefix.
    void add(const std::string& sqlstate, const std::string& message, SQLINTEGER nativeError = 0);

    // Adds a record taken from another handle.
    void append(const DiagRecord& record) { records_.push_back(record); }

    // Adds an error record and returns SQL_ERROR, for `return diag.error(...)`.
    SQLRETURN error(const std::string& sqlstate, const std::string& message,
                    SQLINTEGER nativeError = 0) {
        add(sqlstate, message, nativeError);
        return SQL_ERROR;
    }

    // Adds a warning record and returns SQL_SUCCESS_WITH_INFO.
    SQLRETURN warning(const std::string& sqlstate, const std::string& message) {
        add(sqlstate, message);
        return SQL_SUCCESS_WITH_INFO;
    }

    // Records the result of the call for the SQL_DIAG_RETURNCODE header field.
    SQLRETURN finish(SQLRETURN rc) {
        returnCode_ = rc;
        return rc;
    }

    void setRowCount(SQLLEN rows) { rowCount_ = rows; }

    const std::vector<DiagRecord>& records() const { return records_; }
    SQLRETURN returnCode() const { return returnCode_; }
    SQLLEN rowCount() const { return rowCount_; }

private:
    std::vector<DiagRecord> records_;
    SQLRETURN returnCode_ = SQL_SUCCESS;
    SQLLEN rowCount_ = 0;
};

// Combines the results of two steps of one call: an error wins over a warning,
// a warning over success; SQL_NO_DATA and the rest pass through from `next`.
inline SQLRETURN combineResults(SQLRETURN sofar, SQLRETURN next) {
    if (sofar == SQL_ERROR || next == SQL_ERROR)
        return SQL_ERROR;
    if (sofar == SQL_SUCCESS_WITH_INFO && next == SQL_SUCCESS)
        return SQL_SUCCESS_WITH_INFO;
    return next;
}

} // namespace mdblite
