// The hook library's Windows side: the library entry, the exports, the hook
// procedure and the error box. Every decision is made by the portable engine.

#include <windows.h>

#include "app_layout_win.h"
#include "engine_state.h"
#include "error_text.h"
#include "hook.h"

// One copy for every process that loads the library.
HINSTANCE ModuleInstance __attribute__((section("Shared"), shared)) = nullptr;
HHOOK HookHandle __attribute__((section("Shared"), shared)) = nullptr;

namespace {

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
    if (code != HC_ACTION) {
        return CallNextHookEx(HookHandle, code, wParam, lParam);
    }
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    // Each of the user's key-downs may make taps for the application in the
    // foreground now: they are typed with its layout.
    if (event->flags == 0 && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        FollowForegroundLayout();
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

}  // namespace

extern "C" int WINAPI Dzapo_Init() {
    HookHandle = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, ModuleInstance, 0);
    if (HookHandle == nullptr) {
        ShowHookError(L"Can't initialize hook procedure");
        return 0;
    }
    return 1;
}

extern "C" int WINAPI Dzapo_Mode() {
    FlipMode();
    return 1;
}

extern "C" int WINAPI Dzapo_Destroy() {
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
