#include "main_window.h"

#include <commctrl.h>

#include "dialogs.h"
#include "engine_state.h"
#include "fatal_error.h"
#include "resource.h"
#include "tray.h"

HWND MainWindow = nullptr;
HWND StatusBar = nullptr;
HMODULE HookLibrary = nullptr;
int WindowHidden = 0;

HookExport FindHookExport(const char* name) {
    if (HookLibrary == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<HookExport>(reinterpret_cast<void*>(GetProcAddress(HookLibrary, name)));
}

namespace {

// The shell sends this to every top-level window when it starts, after a
// crash or restart of Explorer among others; the icons it showed are gone.
UINT TaskbarCreated = 0;

// An elevated program does not get the shell's message unless it says it
// takes it; the call exists from Windows Vista on.
void AcceptTaskbarCreated() {
    using FilterFunction = BOOL(WINAPI*)(UINT, DWORD);
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto filter = reinterpret_cast<FilterFunction>(
        reinterpret_cast<void*>(user != nullptr ? GetProcAddress(user, "ChangeWindowMessageFilter") : nullptr));
    if (filter != nullptr) {
        filter(TaskbarCreated, 1 /* MSGFLT_ADD */);
    }
}

// Creation: status bar, hook library, hook, notification icon. The library
// looks the main window up by class and title when it is loaded, so it can be
// loaded no earlier than here. Returning -1 makes the creation fail, and the
// half-made window is destroyed through OnDestroy.
LRESULT OnCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    MainWindow = window;
    StatusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Use Shift+Space to toggle between EWTS and English modes",
                                    window, IDC_STATUSBAR);
    if (StatusBar == nullptr) {
        ReportFatalError("Could not create status bar");
        return -1;
    }
    // The plain name: the system's usual search for a library applies.
    HookLibrary = LoadLibraryA("zelbo");
    if (HookLibrary == nullptr) {
        ReportFatalError("Could not load hook library");
        return -1;
    }
    const HookExport init = FindHookExport("Dzapo_Init");
    if (init == nullptr) {
        ReportFatalError("Could not get proc address");
        return -1;
    }
    // The library reports its own failure to install the hook.
    init();
    if (!AddTrayIcon()) {
        ReportFatalError("Could not create notify icon in the taskbar");
        return -1;
    }
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AcceptTaskbarCreated();
    DefWindowProcA(window, WM_CREATE, wParam, lParam);
    return 0;
}

// Destruction, also of a window whose creation failed: the icon goes, the
// library is unloaded and the message loop is told to end.
void OnDestroy() {
    RemoveTrayIcon();
    if (HookLibrary != nullptr) {
        // The hook procedure is the library's code: the hook has to go first,
        // or the system could call into an unloaded library.
        const HookExport destroy = FindHookExport("Dzapo_Destroy");
        if (destroy != nullptr) {
            destroy();
        }
        FreeLibrary(HookLibrary);
        HookLibrary = nullptr;
    }
    PostQuitMessage(0);
}

void HideMainWindow(HWND window) {
    ShowWindow(window, SW_HIDE);
    WindowHidden = 1;
}

// The autohide timer fires once: it is killed as soon as it has hidden the window.
void OnAutoHideTimer(HWND window) {
    HideMainWindow(window);
    KillTimer(window, IDT_AUTOHIDE);
}

// Menu items and accelerators alike: the notification code is not looked at.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        DestroyWindow(window);
        return 0;
    case IDM_HIDE:
        HideMainWindow(window);
        return 0;
    case IDM_ABOUT:
        ShowAboutDialog(window);
        return 0;
    case IDM_RESTORE:
        ShowWindow(window, SW_SHOW);
        WindowHidden = 0;
        return 0;
    case IDM_SETTINGS:
        // Settings changed in the dialog apply at the next start; the timer
        // of this run is cancelled whichever button closes it.
        KillTimer(window, IDT_AUTOHIDE);
        ShowSettingsDialog(window);
        return 0;
    case IDM_RESERVED:
        ShowMantrasDialog(window);
        return 0;
    default:
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreated && TaskbarCreated != 0) {
        // Nothing to report when the new shell refuses: its next start
        // announces itself again.
        AddTrayIconAgain();
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_SIZE:
        // The status bar lays itself along the bottom edge when told of any size.
        SendMessageA(StatusBar, WM_SIZE, 0, 0);
        break;
    case WM_PAINT:
        OnPaint(window);
        break;
    case WM_CONTEXTMENU:
        ShowTrayMenu(window);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        ShowKeyEvent(window, static_cast<unsigned>(wParam), message == WM_KEYDOWN ? 1u : 0u,
                     LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_TIMER:
        OnAutoHideTimer(window);
        return 0;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(wParam, lParam);
        return 0;
    case WM_MODE_CHANGED:
        ShowModeOnIcon(wParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // The messages that break out get default processing after their handler;
    // its result is not theirs.
    DefWindowProcA(window, message, wParam, lParam);
    return 0;
}
