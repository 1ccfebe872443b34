// The error alert and its icon.
#include "db/ShowError.h"

#include "app/Dialogs.h"

#include <FL/Enumerations.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_ask.H>

namespace {
#include "db/error_icon.xpm"
} // namespace

Fl_Pixmap* errorIcon() {
    static Fl_Pixmap icon(error_icon_xpm);
    return &icon;
}

void showError(const std::string& text) {
    Fl_Widget* box = fl_message_icon();
    box->label(""); // the toolkit would otherwise draw its own letter
    box->image(errorIcon());
    box->align(FL_ALIGN_TOP | FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    box->box(FL_NO_BOX);
    box->color(FL_BACKGROUND_COLOR);
    showMessageDialog(text);
}
