// yanra-testhost: the smallest host of the hook library, for the end-to-end
// tests. It does what the program does to start the engine and nothing else:
// a hidden main window of the program's class and title (the library looks
// it up while loading), zelbo loaded by name, Dzapo_Init, a message loop
// (the low-level hook is called from it).
//
//   yanra-testhost.exe [MODELOG]
//
// MODELOG, when given, gets one line per mode message:
// "WM_MODE_CHANGED wParam=N lParam=N". WM_CLOSE ends the host: the hook is
// removed, the library unloaded, and the exit code is 0.
// Exit codes: 0 clean end, 1 no window or log, 2 zelbo not loaded,
// 3 Dzapo_Init missing or failed.

#include <windows.h>

#include <cstdio>

#include "engine_state.h"

namespace {

constexpr char WindowClass[] = "Yanra_AppClass";
constexpr char WindowTitle[] = "Yanra - Tibetan Input";

using HookExport = int(WINAPI*)();

HMODULE Library = nullptr;
std::FILE* ModeLog = nullptr;
int StartFailure = 0;

int StartEngine() {
    Library = LoadLibraryA("zelbo");
    if (Library == nullptr) {
        std::fprintf(stderr, "yanra-testhost: cannot load zelbo (error %lu)\n", GetLastError());
        return 2;
    }
    auto init = reinterpret_cast<HookExport>(reinterpret_cast<void*>(GetProcAddress(Library, "Dzapo_Init")));
    if (init == nullptr || init() == 0) {
        std::fputs("yanra-testhost: Dzapo_Init is missing or failed\n", stderr);
        return 3;
    }
    return 0;
}

void StopEngine() {
    if (Library == nullptr) {
        return;
    }
    // The hook must be gone before its code is unloaded.
    auto destroy = reinterpret_cast<HookExport>(reinterpret_cast<void*>(GetProcAddress(Library, "Dzapo_Destroy")));
    if (destroy != nullptr) {
        destroy();
    }
    FreeLibrary(Library);
    Library = nullptr;
}

// The library is loaded while the window is being created, as the program
// does: by then FindWindow sees the window.
LRESULT OnCreate() {
    StartFailure = StartEngine();
    return StartFailure == 0 ? 0 : -1;
}

void OnModeChanged(WPARAM wParam, LPARAM lParam) {
    if (ModeLog == nullptr) {
        return;
    }
    std::fprintf(ModeLog, "WM_MODE_CHANGED wParam=%u lParam=%ld\n", static_cast<unsigned>(wParam),
                 static_cast<long>(lParam));
    std::fflush(ModeLog);
}

void OnDestroy() {
    StopEngine();
    PostQuitMessage(0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_MODE_CHANGED:
        OnModeChanged(wParam, lParam);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc > 2) {
        std::fputs("usage: yanra-testhost [MODELOG]\n", stderr);
        return 1;
    }
    if (__argc == 2) {
        ModeLog = std::fopen(__argv[1], "wb");
        if (ModeLog == nullptr) {
            std::fprintf(stderr, "yanra-testhost: cannot write %s\n", __argv[1]);
            return 1;
        }
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WindowClass;
    if (RegisterClassA(&windowClass) == 0) {
        std::fprintf(stderr, "yanra-testhost: cannot register the window class (error %lu)\n", GetLastError());
        return 1;
    }
    // Never shown: the tests need the hook, not the window.
    HWND window = CreateWindowA(WindowClass, WindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        StopEngine();
        return StartFailure != 0 ? StartFailure : 1;
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    if (ModeLog != nullptr) {
        std::fclose(ModeLog);
    }
    return static_cast<int>(message.wParam);
}
