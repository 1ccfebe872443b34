// Jet column types and their carried forms; see AccessTypes.h.
#include "mdb/AccessTypes.h"

#include <cstdio>
#include <cstdlib>

namespace rackbook {

CarriedType carriedTypeOf(int code, int textChars) {
    switch (static_cast<AccessType>(code)) {
    case AccessType::YesNo:
        return {true, "YESNO", "Yes/No"};
    case AccessType::Byte:
        return {true, "INTEGER", "Byte"};
    case AccessType::Integer:
        return {true, "INTEGER", "Integer"};
    case AccessType::LongInteger:
        return {true, "LONG", "Long Integer"};
    case AccessType::Currency:
        return {true, "DOUBLE", "Currency"};
    case AccessType::Single:
        return {true, "REAL", "Single"};
    case AccessType::Double:
        return {true, "DOUBLE", "Double"};
    case AccessType::Decimal:
        return {true, "DOUBLE", "Decimal"};
    case AccessType::DateTime:
        return {true, "DATETIME", "Date/Time"};
    case AccessType::Text: {
        int size = textChars < 1 || textChars > 255 ? 255 : textChars;
        return {true, "TEXT(" + std::to_string(size) + ")", "Text"};
    }
    case AccessType::Memo:
        // LONGTEXT, not MEMO: SQLite would give a MEMO column numeric affinity
        // and store a memo such as "007" as the number 7.
        return {true, "LONGTEXT", "Memo"};
    case AccessType::ReplicationId:
        return {true, "TEXT(38)", "Replication ID"};
    case AccessType::Binary:
        return {false, "", "Binary"};
    case AccessType::OleObject:
        return {false, "", "OLE object"};
    case AccessType::Attachment:
        return {false, "", "Attachment or multi-valued field"};
    }
    return {false, "", "unknown type " + std::to_string(code)};
}

double widenSingle(float value) {
    char text[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return std::strtod(text, nullptr);
}

} // namespace rackbook
