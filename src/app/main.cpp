// The program's entry: builds the about window and the main window, sets the
// title, position, icon and help text, shows the main window with the
// command line (the toolkit's standard options) and runs the event loop.
#include "app/AboutWindow.h"
#include "app/ApplicationState.h"
#include "app/MainWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>

int main(int argc, char** argv) {
    buildAboutWindow();
    buildMainWindow();
    set_title_and_help();
    appState.mainWindow->end();
    appState.mainWindow->show(argc, argv);
    return Fl::run();
}
