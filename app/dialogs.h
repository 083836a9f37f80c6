// The program's modal dialogs, each run with the main window as owner.
#pragma once

#include <windows.h>

void ShowAboutDialog(HWND owner);
void ShowSettingsDialog(HWND owner);
void ShowMantrasDialog(HWND owner);
