// The checks that guard every save of the edit row, as pure functions of the
// row's texts and the column names, so that they can be tested without a
// window or a database.
#pragma once

#include <string>
#include <vector>

// The outcome of the checks that run before the save connects.
struct RowCheck {
    std::string refusal; // the message to show; empty when the row passes
    int dateColumn = -1; // index of the Dates_ID column in the row
    bool passed() const { return refusal.empty(); }
};

// The messages of the checks.
extern const char* const kSlashMessage;      // "Error!\nPlease don't use '/'-slashes"
extern const char* const kApostropheMessage; // "Error!\nPlease don't use ' -apostrophe"
extern const char* const kYearMessage;
extern const char* const kMonthMessage;
extern const char* const kDayMessage;
extern const char* const kDateFormMessage;

// Checks a working row (the edit row's first n texts) against the column
// names, in this order: the table must have a Dates_ID column within the row
// and at least four columns (the key and three place columns), otherwise the
// save is refused rather than checking the wrong column; then, column by
// column, a slash and then an apostrophe anywhere; then the date text.
RowCheck checkEditRow(const std::vector<std::string>& row,
                      const std::vector<std::string>& columnNames);

// The date check alone: the empty text passes; 10 characters read as
// YYYY-MM-DD the way atoi reads each number (positions 4 and 7 not looked
// at) with year 1800-2500, month 1-12, day 1-31; anything else is refused
// with the general message.  Returns the refusal, or the empty text.
std::string checkDateText(const std::string& date);

// True when one of the place texts (columns 1, 2, 3) is empty.
bool placeMissing(const std::vector<std::string>& row);

// "Error!\nPlease fill all three first fields \n(" + column names 1, 2, 3
// joined by ", " + ")!".
std::string placeMissingMessage(const std::vector<std::string>& columnNames);

// The record key made from the place: texts 1, 2 and 3 joined by "_".
std::string placeKey(const std::vector<std::string>& row);
