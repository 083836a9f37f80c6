// The top-level window of a test window program: a plain class of its own
// and an overlapped window at the top left of the screen.
#pragma once

#include <windows.h>

// Null (with the system's error code set) when the class or the window
// cannot be made.
inline HWND CreateTestWindow(HINSTANCE instance, WNDPROC procedure, const wchar_t* className, const wchar_t* title,
                             int width, int height) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    if (RegisterClassW(&windowClass) == 0) {
        return nullptr;
    }
    return CreateWindowW(className, title, WS_OVERLAPPEDWINDOW, 40, 40, width, height, nullptr, nullptr, instance,
                         nullptr);
}
