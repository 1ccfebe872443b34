// The edit row checks of the save.
#include "edit/Validation.h"

#include <cstdlib>

const char* const kSlashMessage = "Error!\nPlease don't use '/'-slashes";
const char* const kApostropheMessage = "Error!\nPlease don't use ' -apostrophe";
const char* const kYearMessage =
    "Error!\nPlease check Year (1800-2500) in the Dates_ID field\nFormat: YYYY-MM-DD";
const char* const kMonthMessage =
    "Error!\nPlease check Month in the Dates_ID field\nFormat: YYYY-MM-DD";
const char* const kDayMessage =
    "Error!\nPlease check Day in the Dates_ID field\nFormat: YYYY-MM-DD";
const char* const kDateFormMessage = "Error!\nPlease check the Dates_ID field\nFormat: YYYY-MM-DD";

namespace {

const char* const kNoDateColumnMessage =
    "Error!\nThe table has no Dates_ID column,\nso the record can not be saved";
const char* const kTooFewColumnsMessage =
    "Error!\nThe table needs at least four columns\n(Index_ID and three place columns),\nso the "
    "record can not be saved";

// The number in date[first..first+length), read as atoi reads it.
int numberAt(const std::string& date, size_t first, size_t length) {
    return std::atoi(date.substr(first, length).c_str());
}

} // namespace

std::string checkDateText(const std::string& date) {
    if (date.empty())
        return std::string();
    if (date.size() != 10)
        return kDateFormMessage;
    const int year = numberAt(date, 0, 4);
    if (year < 1800 || year > 2500)
        return kYearMessage;
    const int month = numberAt(date, 5, 2);
    if (month < 1 || month > 12)
        return kMonthMessage;
    const int day = numberAt(date, 8, 2);
    if (day < 1 || day > 31)
        return kDayMessage;
    return std::string();
}

RowCheck checkEditRow(const std::vector<std::string>& row,
                      const std::vector<std::string>& columnNames) {
    RowCheck check;
    if (row.size() < 4 || columnNames.size() < 4) {
        check.refusal = kTooFewColumnsMessage;
        return check;
    }
    for (size_t c = 0; c < row.size() && c < columnNames.size(); ++c) {
        if (columnNames[c] == "Dates_ID")
            check.dateColumn = static_cast<int>(c);
    }
    if (check.dateColumn < 0) {
        check.refusal = kNoDateColumnMessage;
        return check;
    }
    for (const std::string& text : row) {
        if (text.find('/') != std::string::npos) {
            check.refusal = kSlashMessage;
            return check;
        }
        if (text.find('\'') != std::string::npos) {
            check.refusal = kApostropheMessage;
            return check;
        }
    }
    check.refusal = checkDateText(row[check.dateColumn]);
    return check;
}

bool placeMissing(const std::vector<std::string>& row) {
    return row.size() < 4 || row[1].empty() || row[2].empty() || row[3].empty();
}

std::string placeMissingMessage(const std::vector<std::string>& columnNames) {
    std::string names;
    for (size_t c = 1; c <= 3; ++c) {
        if (c > 1)
            names += ", ";
        if (c < columnNames.size())
            names += columnNames[c];
    }
    return "Error!\nPlease fill all three first fields \n(" + names + ")!";
}

std::string placeKey(const std::vector<std::string>& row) {
    if (row.size() < 4)
        return std::string();
    return row[1] + "_" + row[2] + "_" + row[3];
}
