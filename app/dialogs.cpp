// Placeholder until the dialogs are implemented.
#include "dialogs.h"

void ShowAboutDialog(HWND) {}
void ShowSettingsDialog(HWND) {}
void ShowMantrasDialog(HWND) {}
