// Saving the settings from the Settings dialog: the portable writer, and the
// program's error box when it fails.
#include "fatal_error.h"
#include "settings.h"

void SaveSettings() {
    // The writer leaves the reason in the thread's last error, which the box
    // reads first.
    if (!WriteSettingsFile(SettingsFileName)) {
        ReportFatalError("Could not open file for writing");
    }
}
