// Operations that the main window is wired to but that are not written yet.
// Each is replaced by its real implementation in its own folder; this file
// goes away when the last of them has arrived.
#include "browse/Listing.h"
#include "browse/Search.h"
#include "db/ColumnDiscovery.h"
#include "db/Selectors.h"
#include "edit/DeleteRecord.h"
#include "edit/SaveRecord.h"
#include "file/OpenDatabase.h"

void set_column_names(const std::string& /*path*/) {}
void set_selector_labels() {}
void set_selectors(const std::string& /*path*/) {}
void checkState() {}
int search_cb() { return 0; }
void updateItem() {}
void deleteItem() {}
void choose_database() {}
void open_database(const std::string& /*path*/) {}
