// The program's modal dialogs (the information message and the three-button
// question) behind one seam, so that tests can see which texts would be shown
// without a person closing a dialog.  The program never sets the seam and
// always shows the toolkit's real dialogs.
#pragma once

#include <functional>
#include <string>

struct DialogSeam {
    // Replaces fl_message: receives the text that would have been shown.
    std::function<void(const std::string& text)> onMessage;
    // Replaces fl_choice: receives the question and the three button labels
    // (null for an absent button) and returns the answer (0, 1 or 2).
    std::function<int(const std::string& text, const char* b0, const char* b1, const char* b2)>
        onChoice;
};

// For tests only.  A member left empty means the real dialog is shown.
void setDialogSeam(DialogSeam seam);

// Shows `text` literally (a '%' is not a format directive) in the toolkit's
// information dialog and returns when the user has closed it.
void showMessageDialog(const std::string& text);

// Asks `text` literally with the toolkit's question dialog and returns the
// index of the button chosen (0, 1 or 2); closing the dialog otherwise gives 0.
int askChoiceDialog(const std::string& text, const char* b0, const char* b1, const char* b2);
