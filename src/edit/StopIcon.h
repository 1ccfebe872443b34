// The STOP-sign picture that the delete question shows.
#pragma once

class Fl_Pixmap;

// The 54 x 53 STOP sign, made on the first call and kept until the process
// ends.
Fl_Pixmap* stopIcon();

// Sets the toolkit's common message-icon box to the STOP sign (empty label,
// top-left alignment inside, no box, background colour), ready for a
// question asked through askChoiceDialog.
void useStopIconForDialogs();
