// Edit-row operations on the result table and the edit table.  The column
// count n is read afresh from the result table each time, so the edit row
// always has as many columns as the listed records.
#include "edit/EditRow.h"

#include "app/ApplicationState.h"
#include "widgets/MyTable.h"
#include "widgets/SingleInput.h"

#include <iostream>

namespace {
int resultColumnCount() {
    return appState.mainTable->dataColumnCount();
}
} // namespace

void loadEditRow(const std::vector<std::string>& record) {
    const int n = resultColumnCount();
    SingleInput* edit = appState.editTable;
    for (int c = 0; c < n; ++c)
        edit->setCell(0, c, c < static_cast<int>(record.size()) ? record[c] : std::string());
    edit->cols(n); // stores an open edit over the texts just loaded
    edit->copyColumnWidths(*appState.mainTable);
}

void newItem() {
    const int n = resultColumnCount();
    SingleInput* edit = appState.editTable;
    for (int c = 0; c < n; ++c)
        edit->setCell(0, c, std::string());
    edit->cols(n);
    edit->copyColumnWidths(*appState.mainTable);
}

void setAsTemplate() {
    const int n = resultColumnCount();
    std::vector<std::string> kept{std::string()}; // the record key is never kept
    for (int c = 1; c < n; ++c)
        kept.push_back(appState.editTable->getCell(0, c));
    appState.templateRow = kept;
}

void useTemplate() {
    const int n = resultColumnCount();
    SingleInput* edit = appState.editTable;
    const std::vector<std::string>& kept = appState.templateRow;
    for (int c = 0; c < n; ++c) {
        const std::string text = c < static_cast<int>(kept.size()) ? kept[c] : std::string();
        std::cout << text << std::endl;
        edit->setCell(0, c, text);
    }
    edit->cols(n);
}
