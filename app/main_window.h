// The main window: its procedure, the program-wide window state and the
// hook library the window loads.
#pragma once

#include <windows.h>

// The single-instance test and the hook library both find the main window by
// exactly this pair.
constexpr const char* MainClassName = "Yanra_AppClass";
constexpr const char* MainTitle = "Yanra - Tibetan Input";

extern HWND MainWindow;
extern HWND StatusBar;
extern HMODULE HookLibrary;
extern int WindowHidden;  // 1 after the program hid the main window; 0 after it showed or painted it

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// An export of the hook library, looked up by name; null when the library is
// not loaded or lacks it.
using HookExport = int(WINAPI*)();
HookExport FindHookExport(const char* name);
