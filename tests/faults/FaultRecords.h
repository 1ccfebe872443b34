// The records that the fault tests and their worker write, and the
// statements that write them, in the program's own forms. A record is whole
// when its Comments is the comment made from the number in its Strain, so a
// record written in part shows at once.
#pragma once

#include <string>

namespace faulttest {

// A comment of `length` bytes made from `n` (no apostrophe in it).
inline std::string commentFor(int n, std::size_t length) {
    std::string unit = "#" + std::to_string(n) + " stock-record-comment ";
    std::string text;
    while (text.size() < length)
        text += unit;
    text.resize(length);
    return text;
}

// Long enough that the record spans several pages of the file.
constexpr std::size_t kLongComment = 9000;
constexpr std::size_t kShortComment = 300;

inline std::string numberedKey(int n) {
    return "N_" + std::to_string(n) + "_1";
}

inline std::string updateCounterSql(int n) {
    return "UPDATE StockTable SET Strain='" + std::to_string(n) + "', Comments='" +
           commentFor(n, kLongComment) + "' WHERE Index_ID='L_1_1'";
}

inline std::string insertNumberedSql(int n) {
    return "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Dates_ID, Comments) "
           "VALUES ('" +
           numberedKey(n) + "', 'N', '" + std::to_string(n) + "', '1', '" + std::to_string(n) +
           "', #2008-12-21#, '" + commentFor(n, kLongComment) + "');";
}

// The program's INSERT of a whole record at a place, at version `version`.
inline std::string insertPlaceSql(const std::string& rack, const std::string& box,
                                  const std::string& position, int version) {
    return "INSERT INTO StockTable (Index_ID, Rack, Box, Position, Strain, Plasmid, Subunit, "
           "Mutation, Antibiotic, Dates_ID, Comments) VALUES ('" +
           rack + "_" + box + "_" + position + "', '" + rack + "', '" + box + "', '" + position +
           "', 'v" + std::to_string(version) +
           "', 'pUC19', 'alpha', 'K48R', 'Amp', #2008-12-21#, '" +
           commentFor(version, kShortComment) + "');";
}

inline std::string updatePlaceSql(const std::string& key, int version) {
    return "UPDATE StockTable SET Strain='v" + std::to_string(version) + "', Comments='" +
           commentFor(version, kShortComment) + "' WHERE Index_ID='" + key + "'";
}

// The version in a Strain written by insertPlaceSql or updatePlaceSql; -1
// for any other text.
inline int versionOf(const std::string& strain) {
    if (strain.size() < 2 || strain[0] != 'v')
        return -1;
    return std::stoi(strain.substr(1));
}

} // namespace faulttest
