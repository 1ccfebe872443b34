// What every ODBC entry point does around its body: find the driver object
// behind the handle (or answer SQL_INVALID_HANDLE), clear the handle's
// diagnostics, and keep C++ exceptions from crossing into the driver manager.
#pragma once

#include "Handles.h"

#include <sql.h>
#include <sqlext.h>

#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace mdblite {

template <typename Body> SQLRETURN runGuarded(Diagnostics& diag, Body&& body) {
    diag.clear();
    try {
        return diag.finish(body());
    } catch (const std::bad_alloc&) {
        return diag.finish(diag.error("HY001", "Memory allocation error"));
    } catch (...) {
        return diag.finish(diag.error("HY000", "General error (unexpected failure in the driver)"));
    }
}

template <typename Body> SQLRETURN withEnvironment(SQLHANDLE handle, Body&& body) {
    Environment* environment = Environment::from(handle);
    if (!environment)
        return SQL_INVALID_HANDLE;
    std::lock_guard<std::mutex> guard(environment->callMutex());
    return runGuarded(environment->diag, [&] { return body(*environment); });
}

template <typename Body> SQLRETURN withConnection(SQLHANDLE handle, Body&& body) {
    Connection* connection = Connection::from(handle);
    if (!connection)
        return SQL_INVALID_HANDLE;
    std::lock_guard<std::mutex> guard(connection->callMutex());
    return runGuarded(connection->diag, [&] { return body(*connection); });
}

template <typename Body> SQLRETURN withStatement(SQLHANDLE handle, Body&& body) {
    Statement* statement = Statement::from(handle);
    if (!statement)
        return SQL_INVALID_HANDLE;
    std::lock_guard<std::mutex> guard(statement->connection().callMutex());
    return runGuarded(statement->diag, [&] { return body(*statement); });
}

// A text argument: null pointer -> nothing; length SQL_NTS -> up to the NUL.
inline std::optional<std::string> textArgument(const SQLCHAR* text, SQLINTEGER length) {
    if (!text)
        return std::nullopt;
    const char* chars = reinterpret_cast<const char*>(text);
    if (length == SQL_NTS)
        return std::string(chars);
    if (length < 0)
        return std::string();
    return std::string(chars, static_cast<size_t>(length));
}

// Copies `value` into a client's character buffer of `capacity` bytes, always
// NUL-terminated when there is room; the full length goes to `length`. Returns
// SQL_SUCCESS_WITH_INFO with 01004 when the value was cut.
template <typename LengthType>
SQLRETURN copyText(std::string_view value, SQLPOINTER buffer, SQLLEN capacity, LengthType* length,
                   Diagnostics& diag) {
    if (length)
        *length = static_cast<LengthType>(value.size());
    if (!buffer)
        return SQL_SUCCESS;
    auto* out = static_cast<char*>(buffer);
    if (capacity > 0 && static_cast<size_t>(capacity) > value.size()) {
        value.copy(out, value.size());
        out[value.size()] = '\0';
        return SQL_SUCCESS;
    }
    if (capacity > 0) {
        size_t fits = static_cast<size_t>(capacity) - 1;
        value.copy(out, fits);
        out[fits] = '\0';
    }
    return diag.warning("01004", "String data, right truncated");
}

} // namespace mdblite
