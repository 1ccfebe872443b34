// The STOP-sign picture and the set-up of the dialogs' icon box with it.
#include "edit/StopIcon.h"

#include <FL/Enumerations.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_ask.H>

namespace {
#include "edit/stop_icon.xpm"
} // namespace

Fl_Pixmap* stopIcon() {
    static Fl_Pixmap icon(stop_icon_xpm);
    return &icon;
}

void useStopIconForDialogs() {
    Fl_Widget* box = fl_message_icon();
    box->label("");
    box->image(stopIcon());
    box->align(FL_ALIGN_TOP | FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    box->box(FL_NO_BOX);
    box->color(FL_BACKGROUND_COLOR);
}
