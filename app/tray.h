// The notification-area icon that shows and switches the mode, the popup
// menu, and what the main window draws: its client area and the key-event
// line in its status bar.
#pragma once

#include <windows.h>
#include <shellapi.h>

constexpr UINT TRAY_ICON_UID = 106;
// WM_USER + 101: the shell's callback for the icon; lParam is the mouse message.
constexpr UINT WM_TRAY_NOTIFY = 1125;

extern NOTIFYICONDATAA TrayIconData;  // one record for the add, every modify and the delete
extern int IconMode;                  // the mode the icon shows: 1 EWTS, 0 English
extern char DisplayText[64];          // drawn in the client area; empty

// Adds the icon in EWTS mode with the start balloon; false when the shell refuses.
bool AddTrayIcon();
// After the shell has restarted (it announces itself with "TaskbarCreated"):
// the icon again, in the mode it showed, with its tooltip and no balloon.
bool AddTrayIconAgain();
void RemoveTrayIcon();

// Picture and tooltip for a mode: 1 is EWTS, anything else English.
void ShowModeOnIcon(WPARAM mode);

void OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);

// The popup menu at the cursor; the chosen command reaches owner as WM_COMMAND.
void ShowTrayMenu(HWND owner);

void OnPaint(HWND window);

// The key message's fields as the status bar's line.
void ShowKeyEvent(HWND window, unsigned vk, unsigned down, unsigned repeatCount, unsigned flags);
