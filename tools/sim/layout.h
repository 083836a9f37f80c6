// The Tibetan keyboard layout as the receiving application meets it: what
// each key types on its four layers, and the keyboard state (Shift, CapsLock,
// AltGr) that the key messages reaching the application move. Portable, so
// that yanra-sim, the tests and the receiving window all use this one model.
#pragma once

#include <string>

enum LayoutLayer : int {
    LayerBase,
    LayerShift,
    LayerThird,   // CapsLock on, or AltGr held
    LayerFourth,  // Shift on the third layer
    LayerCount,
};

struct LayoutKey {
    unsigned vk;
    char32_t text[LayerCount][2];  // at most two code points per layer, zero-padded
};

// The key's row, or null for a key the layout types nothing with.
const LayoutKey* FindLayoutKey(unsigned vk);

// What one key types on one layer (empty when nothing).
std::u32string LayoutText(unsigned vk, LayoutLayer layer);

struct TypingState {
    bool shift = false;
    bool capsLock = false;
    bool altGr = false;  // the right-hand Alt
    bool alt = false;    // the left-hand Alt
    bool ctrl = false;
    std::u32string text;  // what the application shows
};

// Applies one key message as the application receives it. vk tells the
// right-hand Alt (VK_RMENU, AltGr) from the left (VK_LMENU or VK_MENU); the
// other modifiers may be generic or sided.
void TypeKeyMessage(TypingState& state, unsigned vk, bool up);

std::string Utf8(const std::u32string& text);

// The code points of a text in the form "U+0F40 U+0FB1".
std::string CodePoints(const std::u32string& text);
