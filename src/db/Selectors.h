// Selector population: the distinct values of each captioned column and the
// earliest and latest Dates_ID.
#pragma once

#include <string>

// Fills every active selector with "*" and the distinct values of its column
// and sets the date range fields, in one connection on `path`.
void set_selectors(const std::string& path);
