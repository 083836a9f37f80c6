// The Tibetan keyboard layout that the engine's key sequences are written
// for: what each key types on its four layers. The engine reads it to know
// the character each tap means; yanra-sim and the generated reference read
// the same table.
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

// The key's row, or null for a key the layout does not cover (Tab, the
// keypad, function keys).
const LayoutKey* FindLayoutKey(unsigned vk);

// What one key types on one layer (empty when nothing).
inline std::u32string LayoutText(unsigned vk, LayoutLayer layer) {
    std::u32string text;
    if (const LayoutKey* key = FindLayoutKey(vk)) {
        for (char32_t c : key->text[layer]) {
            if (c != 0) {
                text += c;
            }
        }
    }
    return text;
}

// The layer that a keyboard state selects.
constexpr LayoutLayer LayerOf(bool shift, bool third) {
    if (third) {
        return shift ? LayerFourth : LayerThird;
    }
    return shift ? LayerShift : LayerBase;
}
