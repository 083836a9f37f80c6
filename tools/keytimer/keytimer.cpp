// yanra-keytimer: a receiving window for the benchmarks that notes when each
// key message reaches it, and does nothing else (no text, no painting), so
// that what it measures is the system's delivery, not its own work.
//
//   yanra-keytimer.exe LOG [READY]
//
// LOG gets one line per key message: "NANOSECONDS down|up VK", the time since
// 1970 read from the precise system time (under Wine, the Linux
// CLOCK_REALTIME that yanra-xkeys stamps with), VK in hexadecimal (0xE7 for
// a character sent by itself). Lines are kept in memory and written out every
// 100 ms and at the end. READY, when given, is created with the line "ready"
// once the window has the keyboard focus. The window takes the foreground back
// whenever another has taken it (at once, and checked again every 100 ms): a
// program started meanwhile may take it, even one that hides its window at
// once. Closing the window ends the program with exit code 0.

#include <windows.h>

#include <cstdio>

#include "test_window.h"
#include "window_files.h"

namespace {

constexpr wchar_t WindowClass[] = L"Yanra_KeyTimerClass";
constexpr wchar_t WindowTitle[] = L"Yanra Key Timer";
constexpr UINT_PTR Timer = 1;
constexpr UINT WM_TAKE_FOREGROUND = WM_APP + 1;

using PreciseTimeFunction = void(WINAPI*)(FILETIME*);
PreciseTimeFunction PreciseTime = nullptr;

std::FILE* Log = nullptr;
ReadyMarker Ready;
bool Pending = false;

// Windows 8 and later, and Wine, have the precise time; older systems give
// the tick-rate one.
long long NowNanoseconds() {
    FILETIME time;
    if (PreciseTime != nullptr) {
        PreciseTime(&time);
    } else {
        GetSystemTimeAsFileTime(&time);
    }
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    constexpr unsigned long long Epoch1970 = 116444736000000000ULL;  // in 100 ns ticks since 1601
    return static_cast<long long>((ticks - Epoch1970) * 100);
}

void OnKey(UINT message, WPARAM vk) {
    const long long now = NowNanoseconds();
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    std::fprintf(Log, "%lld %s 0x%02X\n", now, down ? "down" : "up", static_cast<unsigned>(vk));
    Pending = true;
}

void TakeForeground(HWND window) {
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        SetFocus(window);
    }
}

void OnTimer(HWND window) {
    if (Pending) {
        std::fflush(Log);
        Pending = false;
    }
    TakeForeground(window);
}

// Taken back once the activation that takes it away is over.
void OnActivate(HWND window, WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        PostMessageW(window, WM_TAKE_FOREGROUND, 0, 0);
    }
}

// The system keys are answered here as well, so that Alt or F10 never puts
// the window into menu mode.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        OnKey(message, wParam);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_ACTIVATE:
        OnActivate(window, wParam);
        break;
    case WM_TAKE_FOREGROUND:
        TakeForeground(window);
        return 0;
    case WM_SETFOCUS:
        Ready.Mark();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || __argc > 3) {
        std::fputs("usage: yanra-keytimer LOG [READY]\n", stderr);
        return 2;
    }
    Log = std::fopen(__argv[1], "wb");
    if (Log == nullptr) {
        std::fprintf(stderr, "yanra-keytimer: cannot write %s\n", __argv[1]);
        return 1;
    }
    // Room for every line between two flushes: no write while keys arrive.
    std::setvbuf(Log, nullptr, _IOFBF, 1 << 20);
    Ready.path = __argc == 3 ? __argv[2] : nullptr;
    PreciseTime = reinterpret_cast<PreciseTimeFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "GetSystemTimePreciseAsFileTime")));

    HWND window = CreateTestWindow(instance, WindowProc, WindowClass, WindowTitle, 400, 200);
    if (window == nullptr) {
        std::fprintf(stderr, "yanra-keytimer: cannot create the window (error %lu)\n", GetLastError());
        return 1;
    }
    SetTimer(window, Timer, 100, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    std::fclose(Log);
    return static_cast<int>(message.wParam);
}
