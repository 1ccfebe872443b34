// Operations that the main window is wired to but that are not written yet.
// Each is replaced by its real implementation in its own folder; this file
// goes away when the last of them has arrived.
#include "edit/DeleteRecord.h"
#include "edit/SaveRecord.h"

void updateItem() {}
void deleteItem() {}
