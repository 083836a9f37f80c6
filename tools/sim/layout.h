// The receiving application's side of the keyboard: the layouts it may type
// with (the Tibetan one that the engine's keys are written for, Windows' own
// Dzongkha and US layouts), and the keyboard state (Shift, CapsLock, AltGr)
// that the key messages reaching it move. Portable, so that yanra-sim, the
// tests and the receiving window all use these models.
#pragma once

#include <string>

#include "inject.h"
#include "tibetan_layout.h"

enum class AppLayout {
    Tibetan,   // the engine's own table: CapsLock or AltGr selects the third layer
    Dzongkha,  // Windows' Dzongkha: CapsLock changes nothing, the third layer is on AltGr
    Us,        // Windows' US: CapsLock gives capitals, the right Alt is plain Alt
};

// "tibetan", "dzongkha" or "us"; false for any other name.
bool AppLayoutByName(const std::string& name, AppLayout& layout);

// What a layout types for a key in a keyboard state (empty when nothing).
std::u32string AppLayoutText(AppLayout layout, unsigned vk, const KeyboardView& view);

// Whether the right Alt is AltGr on the layout (or plain Alt).
bool HasAltGr(AppLayout layout);

struct TypingState {
    AppLayout layout = AppLayout::Tibetan;
    bool shift = false;
    bool capsLock = false;
    bool altGr = false;  // the right-hand Alt, where the layout makes it AltGr
    bool alt = false;    // the left-hand Alt (and the right one on a layout without AltGr)
    bool ctrl = false;
    std::u32string text;  // what the application shows
};

// Applies one key message as the application receives it. vk tells the
// right-hand Alt (VK_RMENU) from the left (VK_LMENU or VK_MENU); the other
// modifiers may be generic or sided.
void TypeKeyMessage(TypingState& state, unsigned vk, bool up);

// Applies one character that arrives by itself (a KEYEVENTF_UNICODE key-down).
void TypeCharacter(TypingState& state, char32_t c);

std::string Utf8(const std::u32string& text);

// The code points of a text in the form "U+0F40 U+0FB1".
std::string CodePoints(const std::u32string& text);
