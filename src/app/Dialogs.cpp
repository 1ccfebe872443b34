// The dialog seam: the real toolkit dialogs unless a test has set a stand-in.
#include "app/Dialogs.h"

#include <FL/fl_ask.H>

#include <utility>

namespace {
DialogSeam& seam() {
    static DialogSeam current;
    return current;
}
} // namespace

void setDialogSeam(DialogSeam newSeam) {
    seam() = std::move(newSeam);
}

void showMessageDialog(const std::string& text) {
    if (seam().onMessage) {
        seam().onMessage(text);
        return;
    }
    fl_message("%s", text.c_str()); // the text is data, never a format
}

int askChoiceDialog(const std::string& text, const char* b0, const char* b1, const char* b2) {
    if (seam().onChoice)
        return seam().onChoice(text, b0, b1, b2);
    return fl_choice("%s", b0, b1, b2, text.c_str());
}
