// The start-up settings and their file, "yanra.ini" in the working directory.
#pragma once

extern unsigned StartHidden;    // hide the main window right after start
extern unsigned AutoHide;       // hide it AutoHideDelay seconds after start
extern unsigned AutoHideDelay;  // seconds; 0: no autohide

// Reads the file; false when it could not be opened. Values that cannot be
// read keep what they had.
bool LoadSettings();

// Writes the file; reports a file that cannot be written.
void SaveSettings();
