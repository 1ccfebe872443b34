// Column discovery: reads the columns of StockTable into the application
// state and captions the eight selectors after them.
#pragma once

#include <string>

// Reads the column names of StockTable at `path` into appState.columnNames,
// appState.columnCount and the items of the search column chooser.  Failures
// are shown with showError; nothing is returned.
void set_column_names(const std::string& path);

// Ties selector k to column k + 1 up to the Dates_ID column; the selectors
// from Dates_ID on are switched off and captioned "None".
void set_selector_labels();
