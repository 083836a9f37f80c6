#include "layout.h"

#include <cstdio>

#include "keys.h"

namespace {

constexpr LayoutKey LayoutKeys[] = {
#include "layout_table.inc"
};

LayoutLayer CurrentLayer(const TypingState& state) {
    const bool third = state.capsLock || state.altGr;
    if (third) {
        return state.shift ? LayerFourth : LayerThird;
    }
    return state.shift ? LayerShift : LayerBase;
}

void EraseLast(std::u32string& text) {
    if (!text.empty()) {
        text.pop_back();
    }
}

}  // namespace

const LayoutKey* FindLayoutKey(unsigned vk) {
    for (const LayoutKey& key : LayoutKeys) {
        if (key.vk == vk) {
            return &key;
        }
    }
    return nullptr;
}

std::u32string LayoutText(unsigned vk, LayoutLayer layer) {
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

void TypeKeyMessage(TypingState& state, unsigned vk, bool up) {
    switch (vk) {
    case VkShift:
    case VkLShift:
    case VkRShift:
        // One state for both keys: any Shift key-up, an injected one too,
        // releases Shift even while the other key (or the user) still holds it.
        state.shift = !up;
        return;
    case VkControl:
    case VkLControl:
    case VkRControl:
        state.ctrl = !up;
        return;
    case VkMenu:
    case VkLMenu:
        state.alt = !up;
        return;
    case VkRMenu:
        state.altGr = !up;
        return;
    case VkCapital:
        if (!up) {
            state.capsLock = !state.capsLock;
        }
        return;
    default:
        break;
    }
    if (up) {
        return;
    }
    // Ctrl or the left Alt makes a shortcut, not text; AltGr stays a layer
    // even where the system reports Ctrl with it.
    if ((state.ctrl || state.alt) && !state.altGr) {
        return;
    }
    if (vk == VkBack) {
        EraseLast(state.text);
    } else if (vk == VkReturn) {
        state.text += U'\n';
    } else {
        state.text += LayoutText(vk, CurrentLayer(state));
    }
}

std::string Utf8(const std::u32string& text) {
    std::string bytes;
    for (char32_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::string CodePoints(const std::u32string& text) {
    std::string result;
    for (char32_t c : text) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        if (!result.empty()) {
            result += ' ';
        }
        result += code;
    }
    return result;
}
