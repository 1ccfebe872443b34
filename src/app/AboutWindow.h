// The about and help window: version line, credit, and the instructions for
// preparing a database, shown modal and centred over the main window.
#pragma once

class Fl_Widget;

// Builds the hidden about window and its children into appState.
void buildAboutWindow();

// Adds the help lines to the help browser; the first repeats `title`.
void addHelpLines(const char* title);

// The Help button: centres the about window over the main window and shows it.
void showHelp(Fl_Widget* widget = nullptr, void* data = nullptr);

// The Close button: hides the about window and raises the main window.
void closeAbout(Fl_Widget* widget = nullptr, void* data = nullptr);

// The help browser's callback: drops the selection a click has just made.
void clearHelpSelection(Fl_Widget* widget = nullptr, void* data = nullptr);
