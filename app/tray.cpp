#include "tray.h"

#include <commctrl.h>

#include <cstdio>

#include "fatal_error.h"
#include "main_window.h"
#include "resource.h"

// The shell accepts the balloon fields only from the Windows XP form of the record.
// (The 64-bit build, used for testing where only 64-bit code runs, has its own sizes.)
#ifndef _WIN64
static_assert(sizeof(NOTIFYICONDATAA) == 504, "NOTIFYICONDATAA must have its Windows XP size");
#endif

NOTIFYICONDATAA TrayIconData;
int IconMode = 0;
char DisplayText[64] = "";

namespace {

struct ModeDisplay {
    int icon;
    const char* tooltip;
};

// Indexed by IconMode.
constexpr ModeDisplay ModeDisplays[] = {
    {IDI_ENGLISH, "Running in English mode"},
    {IDI_EWTS, "Running in EWTS mode"},
};

struct TrayMenuItem {
    const char* text;  // null: a separator
    UINT command;
};

HICON LoadModeIcon(int resource) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
    return LoadIconA(instance, MAKEINTRESOURCEA(resource));
}

template <std::size_t Size>
void CopyText(char (&into)[Size], const char* text) {
    lstrcpynA(into, text, static_cast<int>(Size));
}

// The mode lives in the library, which tells the main window of the flip
// with WM_MODE_CHANGED while this call runs. Looked up at each click.
void FlipModeInLibrary() {
    const HookExport flip = FindHookExport("Dzapo_Mode");
    if (flip == nullptr) {
        ReportFatalError("Could not get proc address");
        return;
    }
    flip();
}

void AppendMenuEntry(HMENU menu, UINT position, const TrayMenuItem& item) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.fType = item.text == nullptr ? MFT_SEPARATOR : MFT_STRING;
    info.fState = MFS_ENABLED;
    info.wID = item.command;
    info.dwTypeData = const_cast<char*>(item.text);
    InsertMenuItemA(menu, position, TRUE, &info);
}

}  // namespace

bool AddTrayIcon() {
    ZeroMemory(&TrayIconData, sizeof TrayIconData);
    TrayIconData.cbSize = sizeof TrayIconData;
    TrayIconData.hWnd = MainWindow;
    TrayIconData.uID = TRAY_ICON_UID;
    TrayIconData.uCallbackMessage = WM_TRAY_NOTIFY;
    TrayIconData.hIcon = LoadModeIcon(IDI_EWTS);
    // No tooltip yet: the first mouse move over the icon gives it one.
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
    TrayIconData.uTimeout = 3;  // the shell raises it to its own minimum
    TrayIconData.dwInfoFlags = NIIF_INFO;
    CopyText(TrayIconData.szInfo, "Running in EWTS mode");
    CopyText(TrayIconData.szInfoTitle, "Yanra started");
    // Set before the call: while it waits for the shell, this thread takes
    // the shell's messages, and a pointer that rests where the icon appears
    // brings a mouse move that shows IconMode on the icon.
    IconMode = 1;
    return Shell_NotifyIconA(NIM_ADD, &TrayIconData) != FALSE;
}

bool AddTrayIconAgain() {
    const ModeDisplay& display = ModeDisplays[IconMode];
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.hIcon = LoadModeIcon(display.icon);
    CopyText(TrayIconData.szTip, display.tooltip);
    // A shell that never lost the icon refuses to add it twice: then it is
    // brought up to date instead.
    return Shell_NotifyIconA(NIM_ADD, &TrayIconData) != FALSE ||
           Shell_NotifyIconA(NIM_MODIFY, &TrayIconData) != FALSE;
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
}

void ShowModeOnIcon(WPARAM mode) {
    IconMode = mode == 1 ? 1 : 0;
    const ModeDisplay& display = ModeDisplays[IconMode];
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.hIcon = LoadModeIcon(display.icon);
    CopyText(TrayIconData.szTip, display.tooltip);
    if (!Shell_NotifyIconA(NIM_MODIFY, &TrayIconData)) {
        ReportFatalError("Could not modify icon in the taskbar");
    }
}

void OnTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != TRAY_ICON_UID) {
        return;
    }
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_MOUSEMOVE:
        // Gives the icon its first tooltip, and re-asserts the picture.
        ShowModeOnIcon(static_cast<WPARAM>(IconMode));
        break;
    case WM_LBUTTONDOWN:
        FlipModeInLibrary();
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu(MainWindow);
        break;
    default:
        break;
    }
}

void ShowTrayMenu(HWND owner) {
    // The cursor, not the message's position: WM_CONTEXTMENU from the keyboard carries -1, -1.
    POINT cursor = {};
    GetCursorPos(&cursor);
    const TrayMenuItem items[] = {
        WindowHidden == 1 ? TrayMenuItem{"&Restore", IDM_RESTORE} : TrayMenuItem{"&Hide", IDM_HIDE},
        {"&Settings", IDM_SETTINGS},
        {"A&bout", IDM_ABOUT},
        {nullptr, 0},
        {"E&xit", IDM_EXIT},
    };
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (const TrayMenuItem& item : items) {
        AppendMenuEntry(menu, position++, item);
    }
    // A popup opened from the notification area does not close on a click
    // elsewhere unless its owner is the foreground window, and the message
    // after tracking lets the next popup open at the first click.
    SetForegroundWindow(owner);
    TrackPopupMenuEx(menu, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, cursor.x, cursor.y, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    LOGFONTA face = {};
    face.lfHeight = 36;
    face.lfWeight = FW_BOLD;
    face.lfCharSet = DEFAULT_CHARSET;
    CopyText(face.lfFaceName, "Ximalaya");
    HFONT font = CreateFontIndirectA(&face);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    TextOutA(dc, (client.right - client.left) / 2, (client.bottom - client.top) / 2, DisplayText,
             lstrlenA(DisplayText));
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
    // Painted means shown: the popup menu offers Hide again.
    WindowHidden = 0;
}

void ShowKeyEvent(HWND, unsigned vk, unsigned down, unsigned repeatCount, unsigned flags) {
    char line[200];
    std::snprintf(line, sizeof line, "Key Event: vk=0x%x, fDown=%u, repcnt=%u, flags=0x%x ", vk, down, repeatCount,
                  flags);
    SendMessageA(StatusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(line));
}
