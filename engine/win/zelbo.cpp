// The hook library's Windows side: the library entry, the exports, the hook
// procedure and the error box. Every decision is made by the portable engine.

#include <windows.h>

#include "app_layout_win.h"
#include "engine_state.h"
#include "error_text.h"
#include "hook.h"
#include "hook_watchdog.h"
#include "target_integrity_win.h"

// One copy for every process that loads the library.
HINSTANCE ModuleInstance __attribute__((section("Shared"), shared)) = nullptr;
HHOOK HookHandle __attribute__((section("Shared"), shared)) = nullptr;

namespace {

// The watchdog: the tick of the last event the hook saw, and the timer of
// the host thread (the one that installed the hook) that compares it with
// the system's last input.
DWORD LastHookTick = 0;
UINT_PTR WatchdogTimer = 0;

void ShowHookError(const wchar_t* text) {
    const DWORD code = GetLastError();
    wchar_t* systemText = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
    wchar_t box[500];
    ComposeErrorText(box, sizeof box / sizeof box[0], text, code, systemText);
    MessageBoxW(nullptr, box, L"Hook DLL Fatal", MB_OK | MB_ICONWARNING);
    LocalFree(systemText);
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    LastHookTick = GetTickCount();
    if (code != HC_ACTION) {
        return CallNextHookEx(HookHandle, code, wParam, lParam);
    }
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if ((event->flags & LLKHF_INJECTED) == 0) {
        // Each of the user's key-downs may make taps for the application in
        // the foreground now: they are typed with its layout, and only if
        // the system lets our keys reach it.
        const HWND foreground = GetForegroundWindow();
        DWORD processId = 0;
        if (foreground != nullptr) {
            GetWindowThreadProcessId(foreground, &processId);
        }
        if (event->flags == 0 && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
            FollowForegroundLayout(foreground);
        }
        FollowForegroundIntegrity(foreground, processId);
    }
    switch (HandleKeyEvent(static_cast<unsigned>(wParam), event->vkCode, event->flags)) {
    case HookAnswer::Swallow:
        return 1;
    case HookAnswer::Pass:
        return 0;
    case HookAnswer::CallNext:
        break;
    }
    return CallNextHookEx(HookHandle, 0, wParam, lParam);
}

// Runs on the host thread between its messages, so never while the hook
// runs. The system removes a hook that took too long without telling
// anyone; it goes on counting input, though, and input that the hook did not
// see means the hook is gone. The new hook is set before the old one is
// removed, so that no key falls between the two; the engine's state stays as
// it was.
void CALLBACK CheckHook(HWND, UINT, UINT_PTR, DWORD) {
    LASTINPUTINFO input = {sizeof input, 0};
    if (HookHandle == nullptr || !GetLastInputInfo(&input)) {
        return;
    }
    const DWORD now = GetTickCount();
    if (!HookNeedsReinstall(LastHookTick, input.dwTime, now)) {
        return;
    }
    const HHOOK fresh = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, ModuleInstance, 0);
    if (fresh == nullptr) {
        return;  // tried again at the next check
    }
    // Fails when the system has removed it already; nothing to do then.
    UnhookWindowsHookEx(HookHandle);
    HookHandle = fresh;
    LastHookTick = now;
}

}  // namespace

extern "C" int WINAPI Dzapo_Init() {
    StartIntegrityChecks();
    HookHandle = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, ModuleInstance, 0);
    if (HookHandle == nullptr) {
        ShowHookError(L"Can't initialize hook procedure");
        return 0;
    }
    LastHookTick = GetTickCount();
    if (WatchdogTimer == 0) {
        WatchdogTimer = SetTimer(nullptr, 0, HookCheckPeriodMs, CheckHook);
    }
    return 1;
}

extern "C" int WINAPI Dzapo_Mode() {
    FlipMode();
    return 1;
}

extern "C" int WINAPI Dzapo_Destroy() {
    if (WatchdogTimer != 0) {
        KillTimer(nullptr, WatchdogTimer);
        WatchdogTimer = 0;
    }
    if (HookHandle != nullptr) {
        UnhookWindowsHookEx(HookHandle);
        HookHandle = nullptr;
    }
    return 1;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ModuleInstance = instance;
        // The program loads the library only once its main window exists.
        Engine.MainWindow = FindWindowW(L"Yanra_AppClass", L"Yanra - Tibetan Input");
    }
    return TRUE;
}
