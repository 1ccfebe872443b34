// Database texts as items of the toolkit's menus (the selectors and the
// search column chooser).  Fl_Menu_::add reads markup in an item's text: '/'
// opens a submenu, '\' escapes the next character, a leading '_' draws a
// divider, '|' and a tab split the one-argument form, and a menu drawing
// takes '&' for a shortcut mark and '@' for a symbol.  A value added here is
// exactly one item whose stored text (Fl_Menu_::text) is the value itself,
// drawn literally.
#pragma once

#include <optional>
#include <string>

class Fl_Menu_;

// Appends one item whose text is `value`, whatever characters it holds.
void addMenuValue(Fl_Menu_& menu, const std::string& value);

// The text of the chosen item; nullopt when no item is chosen.
std::optional<std::string> chosenMenuValue(const Fl_Menu_& menu);
