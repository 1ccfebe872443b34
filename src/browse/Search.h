// The custom search: records whose chosen column contains a typed text.
#pragma once

// Returns -1 after a failure (already shown to the user), 0 otherwise.
int search_cb();
