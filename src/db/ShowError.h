// The program's error alert: the toolkit's information dialog showing the
// program's own no-entry icon.
#pragma once

#include <string>

class Fl_Pixmap;

// The 54 x 53 no-entry picture, made on the first call and kept until the
// process ends.
Fl_Pixmap* errorIcon();

// Sets the toolkit's common message-icon box to the error icon (empty label,
// top-left alignment inside, no box, background colour) and shows `text`
// literally with showMessageDialog.  Returns when the user has closed it.
void showError(const std::string& text);
