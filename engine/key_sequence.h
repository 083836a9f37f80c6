// Output key sequences, written in the tables exactly as the design notes
// write them: "BS, Shift+R", "up VK_LSHIFT, Caps+M, down VK_LSHIFT",
// "nothing", "typed key". Keys() reads that notation at compile time, so a
// misspelt step in a table is a build error, not a wrong keystroke.
#pragma once

#include "keys.h"

enum class StepKind : unsigned char {
    Tap,         // K        TapKey(K); "BS" is TapKey(VK_BACK)
    Shifted,     // Shift+K  TapShifted(K)
    CapsLocked,  // Caps+K   TapCapsLocked(K)
    AltGr,       // AltGr+K  TapAltGr(K)
    Down,        // down K   KeyDown(K)
    Up,          // up K     KeyUp(K)
    TypedKey,    // the very key the user pressed, tapped again
};

struct Step {
    StepKind kind;
    unsigned char vk;
};

constexpr int MaxSteps = 4;

struct KeySequence {
    Step steps[MaxSteps];
    int count;  // -1 marks "no sequence" in tables where a cell is empty
};

constexpr KeySequence NoSequence = {{}, -1};

namespace notation {

// Deliberately not constexpr: reaching it while a table is being built at
// compile time stops the build.
inline void BadNotation(const char*) {}

constexpr bool SameText(const char* a, int aLength, const char* b) {
    int i = 0;
    for (; i < aLength; i++) {
        if (b[i] != a[i]) {
            return false;
        }
    }
    return b[i] == '\0';
}

constexpr bool StartsWith(const char* text, int length, const char* prefix, int prefixLength) {
    if (length < prefixLength) {
        return false;
    }
    for (int i = 0; i < prefixLength; i++) {
        if (text[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

constexpr unsigned KeyByName(const char* name, int length) {
    if (length == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
        return static_cast<unsigned>(name[0]);
    }
    for (const VkNameEntry& entry : VkNames) {
        if (SameText(name, length, entry.name)) {
            return entry.vk;
        }
    }
    BadNotation("unknown key name");
    return 0;
}

constexpr Step ParseStep(const char* text, int length) {
    if (SameText(text, length, "BS")) {
        return {StepKind::Tap, static_cast<unsigned char>(VkBack)};
    }
    if (SameText(text, length, "typed key")) {
        return {StepKind::TypedKey, 0};
    }
    struct Prefix {
        const char* text;
        int length;
        StepKind kind;
    };
    constexpr Prefix prefixes[] = {
        {"Shift+", 6, StepKind::Shifted}, {"Caps+", 5, StepKind::CapsLocked},
        {"AltGr+", 6, StepKind::AltGr},   {"down ", 5, StepKind::Down},
        {"up ", 3, StepKind::Up},
    };
    for (const Prefix& prefix : prefixes) {
        if (StartsWith(text, length, prefix.text, prefix.length)) {
            unsigned vk = KeyByName(text + prefix.length, length - prefix.length);
            return {prefix.kind, static_cast<unsigned char>(vk)};
        }
    }
    return {StepKind::Tap, static_cast<unsigned char>(KeyByName(text, length))};
}

}  // namespace notation

constexpr KeySequence Keys(const char* text) {
    KeySequence sequence = {{}, 0};
    if (notation::SameText(text, 7, "nothing") && text[7] == '\0') {
        return sequence;
    }
    int start = 0;
    for (int i = 0;; i++) {
        if (text[i] == ',' || text[i] == '\0') {
            if (sequence.count == MaxSteps) {
                notation::BadNotation("too many steps");
                return sequence;
            }
            sequence.steps[sequence.count++] = notation::ParseStep(text + start, i - start);
            if (text[i] == '\0') {
                break;
            }
            if (text[i + 1] != ' ') {
                notation::BadNotation("steps are separated by a comma and a blank");
            }
            start = i + 2;
            i++;
        }
    }
    return sequence;
}
