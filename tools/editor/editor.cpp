// yanra-editor: a window that hosts the system's own multiline EDIT control,
// for the end-to-end tests that check the text an ordinary application ends
// up with. It does nothing with the keys itself: the control takes them
// through the usual loop of a Unicode program.
//
//   yanra-editor.exe TEXT [READY]
//
// TEXT holds the control's text as UTF-8, line ends as LF (the control
// stores Enter as CR LF). It is brought up to date every 50 ms when the text
// has changed, and replaced whole, so a reader never sees half of it. READY,
// when given, is created with the line "ready" once the control has the
// keyboard focus. Closing the window ends the program with exit code 0.

#include <windows.h>

#include <cstdio>
#include <string>

#include "test_window.h"
#include "window_files.h"

namespace {

constexpr wchar_t WindowClass[] = L"Yanra_EditorClass";
constexpr wchar_t WindowTitle[] = L"Yanra Editor";
constexpr wchar_t TextFont[] = L"Tibetan Machine Uni";
constexpr UINT_PTR SaveTimer = 1;
constexpr UINT SaveMilliseconds = 50;
constexpr int EditId = 100;

HWND Edit = nullptr;
std::string TextPath;
ReadyMarker Ready;
bool WriteFailed = false;
std::wstring Saved;
bool SavedOnce = false;

std::string Utf8(const std::wstring& text) {
    std::string bytes;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                            nullptr);
    }
    return bytes;
}

std::wstring ControlText() {
    const int length = GetWindowTextLengthW(Edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(Edit, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return text;
}

std::wstring WithLineFeeds(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); i++) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

void SaveText() {
    std::wstring text = ControlText();
    if (SavedOnce && text == Saved) {
        return;
    }
    if (ReplaceFileWhole(TextPath, Utf8(WithLineFeeds(text)))) {
        Saved.swap(text);
        SavedOnce = true;
    } else if (!WriteFailed) {
        WriteFailed = true;
        std::fprintf(stderr, "yanra-editor: cannot write %s (error %lu)\n", TextPath.c_str(), GetLastError());
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        Edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                               0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(EditId)),
                               reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance, nullptr);
        if (Edit == nullptr) {
            return -1;
        }
        // Far more than any test types; the default stops at 32,767 characters.
        SendMessageW(Edit, EM_SETLIMITTEXT, 1 << 22, 0);
        HFONT font = CreateFontW(-28, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, TextFont);
        SendMessageW(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetTimer(window, SaveTimer, SaveMilliseconds, nullptr);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(Edit);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == EditId && HIWORD(wParam) == EN_SETFOCUS) {
            Ready.Mark();
        }
        return 0;
    case WM_TIMER:
        if (wParam == SaveTimer) {
            SaveText();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, SaveTimer);
        SaveText();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || __argc > 3) {
        std::fputs("usage: yanra-editor TEXT [READY]\n", stderr);
        return 2;
    }
    TextPath = __argv[1];
    Ready.path = __argc == 3 ? __argv[2] : nullptr;

    HWND window = CreateTestWindow(instance, WindowProc, WindowClass, WindowTitle, 900, 480);
    if (window == nullptr) {
        std::fprintf(stderr, "yanra-editor: cannot create the window (error %lu)\n", GetLastError());
        return 1;
    }
    SaveText();
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return WriteFailed ? 1 : static_cast<int>(message.wParam);
}
