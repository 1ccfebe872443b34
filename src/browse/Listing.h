// The filtered listing: the records that every selector and the date range
// admit, shown in the result table.
#pragma once

void checkState();
