// How the column types of a Microsoft Access (Jet) table are carried into a
// database of ours.  Pure: the Jet type codes are the file format's own
// numbers, so nothing here needs the mdbtools library.
#pragma once

#include <string>

namespace rackbook {

// Column type codes as a Jet file stores them.
enum class AccessType {
    YesNo = 1,
    Byte = 2,
    Integer = 3,
    LongInteger = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    DateTime = 8,
    Binary = 9,
    Text = 10,
    OleObject = 11,
    Memo = 12,
    ReplicationId = 15,
    Decimal = 16,
    Attachment = 18, // also multi-valued fields
};

struct CarriedType {
    bool supported = false;
    std::string declaredType; // for CREATE TABLE; empty when not supported
    std::string accessName;   // "Long Integer", "OLE object", ... for messages
};

// The declared type a column of Jet type `code` gets; `textChars` is the
// size of a Text column in characters (1 to 255).
CarriedType carriedTypeOf(int code, int textChars);

// The double that reads as the same decimal as the single-precision
// `value` (0.1f becomes 0.1, not 0.100000001490116).
double widenSingle(float value);

} // namespace rackbook
