// yanra-receiver: the window the end-to-end tests type into. It records every
// key message it gets, in order, as "down NAME" / "up NAME" lines.
//
//   yanra-receiver.exe LOG [READY]
//
// LOG gets one line per key message, written through at once so that a test
// can read it while keys are still arriving. READY, when given, is created
// with the line "ready" once the window has the keyboard focus.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "keystrokes.h"

namespace {

constexpr wchar_t WindowClass[] = L"Yanra_ReceiverClass";
constexpr wchar_t WindowTitle[] = L"Yanra Receiver";
constexpr std::size_t ShownTextLimit = 4000;

std::FILE* KeyLog = nullptr;
const char* ReadyPath = nullptr;
bool ReadyWritten = false;

// What the client area shows. Bounded: a long test types thousands of keys.
std::wstring ShownText;

bool IsKeyDownMessage(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

void RecordKey(UINT message, WPARAM vk) {
    const std::string line =
        (IsKeyDownMessage(message) ? "down " : "up ") + KeyName(static_cast<unsigned>(vk)) + "\n";
    std::fwrite(line.data(), 1, line.size(), KeyLog);
    std::fflush(KeyLog);
}

void ShowKey(HWND window, UINT message, WPARAM vk) {
    if (!IsKeyDownMessage(message)) {
        return;
    }
    if (!ShownText.empty()) {
        ShownText += L' ';
    }
    for (char c : KeyName(static_cast<unsigned>(vk))) {
        ShownText += static_cast<wchar_t>(c);
    }
    if (ShownText.size() > ShownTextLimit) {
        ShownText.erase(0, ShownText.size() - ShownTextLimit);
    }
    InvalidateRect(window, nullptr, TRUE);
}

// Every key message, the system keys included: they are answered here and
// never reach DefWindowProc, whose menu mode (after Alt or F10) would eat the
// keys that follow, and whose Alt+F4 would close the window.
void OnKey(HWND window, UINT message, WPARAM vk) {
    RecordKey(message, vk);
    ShowKey(window, message, vk);
}

// The marker that tells a test the window can take keys.
void OnSetFocus() {
    if (ReadyPath == nullptr || ReadyWritten) {
        return;
    }
    ReadyWritten = true;
    if (std::FILE* ready = std::fopen(ReadyPath, "wb")) {
        std::fputs("ready\n", ready);
        std::fclose(ready);
    }
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -8, -8);
    DrawTextW(dc, ShownText.c_str(), static_cast<int>(ShownText.size()), &area, DT_WORDBREAK | DT_NOPREFIX);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        OnKey(window, message, wParam);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateReceiverWindow(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = WindowClass;
    if (RegisterClassW(&windowClass) == 0) {
        return nullptr;
    }
    return CreateWindowW(WindowClass, WindowTitle, WS_OVERLAPPEDWINDOW, 40, 40, 640, 360, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || __argc > 3) {
        std::fputs("usage: yanra-receiver LOG [READY]\n", stderr);
        return 2;
    }
    KeyLog = std::fopen(__argv[1], "wb");
    if (KeyLog == nullptr) {
        std::fprintf(stderr, "yanra-receiver: cannot write %s\n", __argv[1]);
        return 1;
    }
    ReadyPath = __argc == 3 ? __argv[2] : nullptr;

    HWND window = CreateReceiverWindow(instance);
    if (window == nullptr) {
        std::fprintf(stderr, "yanra-receiver: cannot create the window (error %lu)\n", GetLastError());
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);

    // No TranslateMessage: only the key messages are wanted, and the
    // characters it would make come from the system's layout, not the
    // Tibetan one the engine types for.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    std::fclose(KeyLog);
    return static_cast<int>(message.wParam);
}
