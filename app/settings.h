// The start-up settings and their file, "yanra.ini" in the working directory.
#pragma once

extern unsigned StartHidden;    // hide the main window right after start
extern unsigned AutoHide;       // hide it AutoHideDelay seconds after start
extern unsigned AutoHideDelay;  // seconds; 0: no autohide

constexpr const char* SettingsFileName = "yanra.ini";

// Reads the file; false when it could not be opened. Values that cannot be
// read keep what they had.
bool LoadSettings();

// Writes the file; reports a file that cannot be written.
void SaveSettings();

// The two halves of the above for any path. Reading stops at the first value
// that cannot be read; the values before it are kept.
bool ReadSettingsFile(const char* path);

// Writes the six lines beside path and puts them in its place only once they
// are complete, so a failure part-way leaves the old file as it was. False on
// failure; on Windows the thread's last error then tells why.
bool WriteSettingsFile(const char* path);
