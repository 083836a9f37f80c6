// yanra.exe: start-up, the main window's class and the message loop. The
// hook library runs on this thread, called from within message retrieval, so
// the loop (or a modal loop of a dialog or message box) must always be
// running for any application to receive keyboard input.

#include <windows.h>
#include <commctrl.h>

#include "autohide.h"
#include "fatal_error.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"

namespace {

// A running instance is shown and brought to the front instead; nothing is
// reported. Its WindowHidden is not told: it drops to 0 at its next paint.
bool RaiseRunningInstance() {
    HWND running = FindWindowA(MainClassName, MainTitle);
    if (running == nullptr) {
        return false;
    }
    ShowWindow(running, IsIconic(running) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(running);
    return true;
}

// Two starts at the same moment both find no window. The one that creates
// this mutex runs, and holds it for its life; another waits for that one's
// window and raises it, or runs itself if the first ends meanwhile.
constexpr char InstanceMutexName[] = "Yanra_Instance";
constexpr DWORD InstanceWaitMilliseconds = 5000;
constexpr DWORD InstancePollMilliseconds = 50;

bool AnotherInstanceStarts() {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, InstanceMutexName);
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    for (DWORD waited = 0; waited < InstanceWaitMilliseconds; waited += InstancePollMilliseconds) {
        if (RaiseRunningInstance()) {
            return true;
        }
        const DWORD result = WaitForSingleObject(mutex, InstancePollMilliseconds);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            return false;
        }
    }
    // The other instance is still starting (an error box may hold it): this
    // start gives way to it.
    return true;
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_EWTS));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = MainClassName;
    return RegisterClassExA(&windowClass) != 0;
}

// A window whose creation failed has been destroyed, and its destruction
// posted the quit message. A message box finding that message in the queue
// closes at once, so the report would flash by unread: drop it first.
void DropPendingQuit() {
    const DWORD code = GetLastError();
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    SetLastError(code);
}

void HideOrStartAutoHide(HWND window) {
    if (StartHidden != 0) {
        ShowWindow(window, SW_HIDE);
        WindowHidden = 1;
    } else if (AutoHide != 0 && AutoHideDelay != 0) {
        SetTimer(window, IDT_AUTOHIDE, AutoHideElapse(AutoHideDelay), nullptr);
    }
}

int RunMessageLoop(HACCEL accelerators) {
    MSG message;
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) {
            return static_cast<int>(message.wParam);
        }
        if (result == -1) {
            ReportFatalError("Message loop error");
            return 0;
        }
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (RaiseRunningInstance() || AnotherInstanceStarts()) {
        return 0;
    }
    // The status bar and the Settings dialog's up-down control need their
    // classes; with no manifest Windows registers them at load, later
    // common-controls versions only on request.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    if (!RegisterMainClass(instance)) {
        ReportFatalError("Could not register the window class");
        return 0;
    }
    // The creation handler loads the hook library, starts the hook and adds
    // the notification icon; MainWindow is set there already.
    HWND window = CreateWindowExA(0, MainClassName, MainTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT,
                                  0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        DropPendingQuit();
        ReportFatalError("Could not create window");
        return 0;
    }
    // A missing or unreadable file leaves the defaults.
    LoadSettings();
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    HideOrStartAutoHide(window);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return RunMessageLoop(accelerators);
}
