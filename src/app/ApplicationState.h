// The process-wide state of the program: the handles of every widget that an
// operation reads or writes, the column list of the open database and the
// edit-row template.  One instance, `appState`, lives for the whole process;
// the widget handles are non-owning (the windows own their widgets) and are
// filled once by the window-building code.
#pragma once

#include <array>
#include <string>
#include <vector>

class Fl_Browser;
class Fl_Button;
class Fl_Choice;
class Fl_Double_Window;
class Fl_Input;
class Fl_Output;
class Fl_RGB_Image;
class MyTable;
class SingleInput;

constexpr int kSelectorCount = 8;

struct ApplicationState {
    // About window (built first, hidden until Help is pressed).
    Fl_Double_Window* aboutWindow = nullptr;
    Fl_Button* aboutCloseButton = nullptr;
    Fl_Browser* helpText3 = nullptr;

    // Main window.
    Fl_Double_Window* mainWindow = nullptr;
    Fl_Button* newItemButton = nullptr;
    Fl_Button* updateItemButton = nullptr;
    Fl_Button* deleteItemButton = nullptr;
    Fl_Button* openButton = nullptr;
    Fl_Button* reopenButton = nullptr;
    Fl_Button* setTemplateButton = nullptr;
    Fl_Button* useTemplateButton = nullptr;
    Fl_Button* exitButton = nullptr;
    Fl_Button* helpButton = nullptr;
    Fl_Input* pathInput = nullptr;
    std::array<Fl_Choice*, kSelectorCount> selectors{};
    std::array<Fl_Output*, kSelectorCount> selectorCaptions{};
    Fl_Output* startDateCaption = nullptr;
    Fl_Output* endDateCaption = nullptr;
    Fl_Input* startDateInput = nullptr;
    Fl_Input* endDateInput = nullptr;
    MyTable* mainTable = nullptr;
    SingleInput* editTable = nullptr;
    Fl_Choice* searchFieldChoice = nullptr;
    Fl_Output* searchFieldCaption = nullptr;
    Fl_Output* searchTextCaption = nullptr;
    Fl_Input* searchInput = nullptr;

    // Columns of StockTable in the order the driver reports them.  Readers
    // stay within the list's current length: after a failed discovery it is
    // empty while columnCount keeps the previous count.
    std::vector<std::string> columnNames = std::vector<std::string>(25);
    int columnCount = 0;

    // Set as Template / Use Template.
    std::vector<std::string> templateRow = std::vector<std::string>(25);
};

extern ApplicationState appState;
