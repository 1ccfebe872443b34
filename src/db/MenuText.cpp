// Menu items that hold a database value literally.
//
// Fl_Menu_::add parses its text and merges an item whose text equals another
// one's when '&' signs are ignored, so the item is added under a placeholder
// text that matches no existing item and then given its real text with
// Fl_Menu_::replace, which stores the text as it is.  Its label type draws
// the text without '&' shortcut marks or '@' symbols.
#include "db/MenuText.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_.H>
#include <FL/fl_draw.H>

namespace {

void drawLiteralLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    const char savedShortcutMode = fl_draw_shortcut;
    fl_draw_shortcut = 0; // an '&' is a character of the value, not a shortcut mark
    fl_font(label->font, label->size);
    fl_color(static_cast<Fl_Color>(label->color));
    fl_draw(label->value, x, y, w, h, align, label->image, 0);
    fl_draw_shortcut = savedShortcutMode;
}

void measureLiteralLabel(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    w = 0;
    fl_measure(label->value, w, h, 0);
}

Fl_Labeltype literalLabelType() {
    static const Fl_Labeltype type = [] {
        const Fl_Labeltype literal = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE);
        Fl::set_labeltype(literal, drawLiteralLabel, measureLiteralLabel);
        return literal;
    }();
    return type;
}

} // namespace

void addMenuValue(Fl_Menu_& menu, const std::string& value) {
    // Grow the placeholder until add() makes a new item instead of merging.
    std::string placeholder = "\x01";
    const int sizeBefore = menu.size();
    int index = menu.add(placeholder.c_str(), 0, nullptr, nullptr, 0);
    while (menu.size() == sizeBefore) {
        placeholder += '\x01';
        index = menu.add(placeholder.c_str(), 0, nullptr, nullptr, 0);
    }
    menu.replace(index, value.c_str());
    // The menu owns its item array (add() allocated it), so changing the
    // item's look in place is safe.
    const_cast<Fl_Menu_Item*>(menu.menu() + index)->labeltype(literalLabelType());
}

std::optional<std::string> chosenMenuValue(const Fl_Menu_& menu) {
    const char* text = menu.text();
    if (menu.value() < 0 || text == nullptr)
        return std::nullopt;
    return std::string(text);
}
