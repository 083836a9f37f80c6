// yanra-receiver: the window the end-to-end tests type into. It records every
// key message it gets, in order, as "down NAME" / "up NAME" lines (a
// character sent by itself as "down U+0F40" / "up U+0F40"), and shows the
// text that the Tibetan keyboard layout makes of those messages, with each
// character sent by itself as it is.
//
//   yanra-receiver.exe LOG [READY [TEXT]]
//
// LOG gets one line per key message, written through at once so that a test
// can read it while keys are still arriving. READY, when given, is created
// with the line "ready" once the window has the keyboard focus. TEXT (by
// default LOG followed by ".txt") holds the text shown, as UTF-8; it is
// replaced whole after every change, so a reader never sees half of it.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "keystrokes.h"
#include "layout.h"
#include "test_window.h"
#include "window_files.h"

namespace {

constexpr wchar_t WindowClass[] = L"Yanra_ReceiverClass";
constexpr wchar_t WindowTitle[] = L"Yanra Receiver";
constexpr wchar_t TextFont[] = L"Tibetan Machine Uni";
constexpr int TextPixels = 80;
// The font's own line height leaves room for stacks far taller than Tibetan
// has, which would show only two lines here: these fit a vowel sign over a
// three-letter stack with a vowel under it.
constexpr int LineAscent = TextPixels;
constexpr int LineDepth = TextPixels * 5 / 8;
constexpr int LineHeight = LineAscent + LineDepth;
constexpr int Margin = 16;

std::FILE* KeyLog = nullptr;
ReadyMarker Ready;
std::string TextPath;
bool TextWriteFailed = false;

// The application's side of the keyboard: modifier state and the text typed.
TypingState Typing;

// The character of the VK_PACKET key message being handled, which only the
// WM_CHAR that TranslateMessage makes of it tells.
wchar_t PacketUnit = 0;

bool IsKeyDownMessage(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

void RecordKey(UINT message, WPARAM vk) {
    std::string name = KeyName(static_cast<unsigned>(vk));
    if (vk == VK_PACKET) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(PacketUnit));
        name = code;
    }
    const std::string line = (IsKeyDownMessage(message) ? "down " : "up ") + name + "\n";
    std::fwrite(line.data(), 1, line.size(), KeyLog);
    std::fflush(KeyLog);
}

// Window messages name both Alt keys VK_MENU, and the right one is AltGr. A
// keyboard's right Alt carries the extended bit; the one that the engine
// injects does not, and shows only in the key state of VK_RMENU (down before
// its key-down message is handled, up before its key-up). Wine turns a right
// Alt injected without the extended flag into the left one, key state and
// all, so there the engine's AltGr keys type nothing here.
bool IsRightAlt(bool up, LPARAM lParam) {
    if ((static_cast<unsigned long>(lParam) >> 24 & 1) != 0) {
        return true;
    }
    const bool rightHeld = GetKeyState(VK_RMENU) < 0;
    return up ? Typing.altGr && !rightHeld : !Typing.altGr && rightHeld;
}

unsigned ModelKey(WPARAM vk, bool up, LPARAM lParam) {
    if (vk == VK_MENU && IsRightAlt(up, lParam)) {
        return VK_RMENU;
    }
    return static_cast<unsigned>(vk);
}

void WriteText() {
    if (!ReplaceFileWhole(TextPath, Utf8(Typing.text)) && !TextWriteFailed) {
        TextWriteFailed = true;
        std::fprintf(stderr, "yanra-receiver: cannot write %s (error %lu)\n", TextPath.c_str(), GetLastError());
    }
}

void TypeKey(HWND window, UINT message, WPARAM vk, LPARAM lParam) {
    const bool up = !IsKeyDownMessage(message);
    const std::u32string before = Typing.text;
    if (vk == VK_PACKET) {
        if (!up) {
            TypeCharacter(Typing, PacketUnit);
        }
    } else {
        TypeKeyMessage(Typing, ModelKey(vk, up, lParam), up);
    }
    if (Typing.text != before) {
        WriteText();
        InvalidateRect(window, nullptr, TRUE);
    }
}

// Every key message, the system keys included: they are answered here and
// never reach DefWindowProc, whose menu mode (after Alt or F10) would eat the
// keys that follow, and whose Alt+F4 would close the window. The text is
// brought up to date before the key is logged, so that a test which has seen
// a key's line finds the text that key made.
void OnKey(HWND window, UINT message, WPARAM vk, LPARAM lParam) {
    TypeKey(window, message, vk, lParam);
    RecordKey(message, vk);
}

std::wstring Utf16(const std::u32string& text) {
    std::wstring result;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            result += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            result += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            result += static_cast<wchar_t>(c);
        }
    }
    return result;
}

// Tibetan is broken into lines after a tsheg or a shad, as after a blank.
bool BreaksAfter(wchar_t c) {
    return c == L' ' || c == 0x0F0B || c == 0x0F0C || c == 0x0F0D || c == 0x0F0E || c == 0x0F14;
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The text in lines that fit the width. Done here rather than by DrawText,
// which breaks only at blanks and cuts a run of syllables anywhere, even
// between a letter and the letter stacked under it.
std::vector<std::wstring> WrapLines(HDC dc, const std::wstring& text, int width) {
    std::vector<std::wstring> lines;
    std::wstring line;
    std::wstring piece;
    auto placePiece = [&]() {
        if (!line.empty() && TextWidth(dc, line + piece) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += piece;
        piece.clear();
    };
    for (wchar_t c : text) {
        if (c == L'\n') {
            placePiece();
            lines.push_back(line);
            line.clear();
            continue;
        }
        piece += c;
        if (BreaksAfter(c)) {
            placePiece();
        }
    }
    placePiece();
    lines.push_back(line);
    return lines;
}

// The text in a large Tibetan font; when it is longer than the window, its
// end, where typing goes on.
void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -Margin, -Margin);
    HFONT font = CreateFontW(-TextPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, TextFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const std::vector<std::wstring> lines = WrapLines(dc, Utf16(Typing.text), area.right - area.left);
    const std::size_t fitting = static_cast<std::size_t>(std::max(1L, (area.bottom - area.top) / LineHeight));
    const std::size_t first = lines.size() > fitting ? lines.size() - fitting : 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    int baseline = area.top + LineAscent;
    for (std::size_t i = first; i < lines.size(); i++) {
        TextOutW(dc, area.left, baseline, lines[i].c_str(), static_cast<int>(lines[i].size()));
        baseline += LineHeight;
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        OnKey(window, message, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        Ready.Mark();
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

// A VK_PACKET key-down carries its character only in the WM_CHAR (or, under
// Alt, WM_SYSCHAR) that TranslateMessage posts for it, which is taken at once
// so that the key message can be recorded with it. Its key-up follows it
// straight away, the two being sent together.
void TakePacketUnit(const MSG& message) {
    if (message.wParam != VK_PACKET || !IsKeyDownMessage(message.message)) {
        return;
    }
    TranslateMessage(&message);
    MSG character;
    PacketUnit = 0;
    if (PeekMessageW(&character, message.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE)) {
        PacketUnit = static_cast<wchar_t>(character.wParam);
    } else if (PeekMessageW(&character, message.hwnd, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE)) {
        // Wine takes a packet's character from the key message's lParam, and
        // under Alt its KF_ALTDOWN bit comes along (0x2FB0 for U+0FB0);
        // Windows gives the character alone.
        PacketUnit = static_cast<wchar_t>(character.wParam);
        if ((message.lParam & (static_cast<LPARAM>(KF_ALTDOWN) << 16)) != 0) {
            PacketUnit = static_cast<wchar_t>(PacketUnit & ~KF_ALTDOWN);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || __argc > 4) {
        std::fputs("usage: yanra-receiver LOG [READY [TEXT]]\n", stderr);
        return 2;
    }
    KeyLog = std::fopen(__argv[1], "wb");
    if (KeyLog == nullptr) {
        std::fprintf(stderr, "yanra-receiver: cannot write %s\n", __argv[1]);
        return 1;
    }
    Ready.path = __argc >= 3 ? __argv[2] : nullptr;
    TextPath = __argc == 4 ? std::string(__argv[3]) : std::string(__argv[1]) + ".txt";
    // The layout starts from the system's CapsLock, as the application would.
    Typing.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    WriteText();

    HWND window = CreateTestWindow(instance, WindowProc, WindowClass, WindowTitle, 900, 480);
    if (window == nullptr) {
        std::fprintf(stderr, "yanra-receiver: cannot create the window (error %lu)\n", GetLastError());
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);

    // TranslateMessage only for the characters sent by themselves: the text
    // of the other keys is the Tibetan layout's, not the system's.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TakePacketUnit(message);
        DispatchMessageW(&message);
    }
    std::fclose(KeyLog);
    return static_cast<int>(message.wParam);
}
