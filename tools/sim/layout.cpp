#include "layout.h"

#include <cstdio>

#include "keys.h"

namespace {

enum WindowsLayer : int {
    WinBase,
    WinShift,
    WinCaps,
    WinShiftCaps,
    WinAltGr,
    WinShiftAltGr,
    WinLayerCount,
};

// A layout of Windows' own, with its CapsLock and AltGr layers apart.
struct WindowsLayoutKey {
    unsigned vk;
    char32_t text[WinLayerCount][2];
};

constexpr WindowsLayoutKey DzongkhaKeys[] = {
#include "dzongkha_layout.inc"
};

constexpr WindowsLayoutKey UsKeys[] = {
#include "us_layout.inc"
};

template <std::size_t N>
std::u32string WindowsText(const WindowsLayoutKey (&keys)[N], unsigned vk, const KeyboardView& view) {
    int layer;
    if (view.altGr) {
        layer = view.shift ? WinShiftAltGr : WinAltGr;
    } else if (view.capsLock) {
        layer = view.shift ? WinShiftCaps : WinCaps;
    } else {
        layer = view.shift ? WinShift : WinBase;
    }
    std::u32string text;
    for (const WindowsLayoutKey& key : keys) {
        if (key.vk == vk) {
            for (char32_t c : key.text[layer]) {
                if (c != 0) {
                    text += c;
                }
            }
        }
    }
    return text;
}

bool Shortcut(const TypingState& state) {
    // Ctrl or Alt makes a shortcut, not text; AltGr stays a layer even where
    // the system reports Ctrl with it.
    return (state.ctrl || state.alt) && !state.altGr;
}

}  // namespace

bool AppLayoutByName(const std::string& name, AppLayout& layout) {
    if (name == "tibetan") {
        layout = AppLayout::Tibetan;
    } else if (name == "dzongkha") {
        layout = AppLayout::Dzongkha;
    } else if (name == "us") {
        layout = AppLayout::Us;
    } else {
        return false;
    }
    return true;
}

std::u32string AppLayoutText(AppLayout layout, unsigned vk, const KeyboardView& view) {
    switch (layout) {
    case AppLayout::Tibetan:
        return LayoutText(vk, LayerOf(view.shift, view.capsLock || view.altGr));
    case AppLayout::Dzongkha:
        return WindowsText(DzongkhaKeys, vk, view);
    case AppLayout::Us:
        return WindowsText(UsKeys, vk, view);
    }
    return {};
}

bool HasAltGr(AppLayout layout) {
    return layout != AppLayout::Us;
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
        (HasAltGr(state.layout) ? state.altGr : state.alt) = !up;
        return;
    case VkCapital:
        if (!up) {
            state.capsLock = !state.capsLock;
        }
        return;
    default:
        break;
    }
    if (up || Shortcut(state)) {
        return;
    }
    if (vk == VkBack) {
        if (!state.text.empty()) {
            state.text.pop_back();
        }
    } else if (vk == VkReturn) {
        state.text += U'\n';
    } else {
        state.text += AppLayoutText(state.layout, vk, {state.shift, state.capsLock, state.altGr});
    }
}

void TypeCharacter(TypingState& state, char32_t c) {
    if (!Shortcut(state)) {
        state.text += c;
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
