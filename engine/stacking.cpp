// Explicit stacking: after '+', every consonant is typed in its subjoined
// form, until the syllable ends.

#include <cstring>

#include "engine_state.h"
#include "inject.h"
#include "rules.h"

namespace {

// Keyed by the new character and the character stored before it.
constexpr CharRule StackedKeys[] = {
    {'k', nullptr, Keys("Shift+Q")},
    {'g', "n", Keys("BS, Shift+R")},  // +ng
    {'g', nullptr, Keys("Shift+E")},
    {'c', nullptr, Keys("Shift+O")},
    {'j', nullptr, Keys("Shift+VK_OEM_4")},
    {'t', nullptr, Keys("Shift+A")},
    {'d', nullptr, Keys("Shift+D")},
    {'n', nullptr, Keys("Shift+F")},
    {'p', nullptr, Keys("Shift+G")},
    {'b', nullptr, Keys("Shift+J")},
    {'m', nullptr, Keys("Shift+K")},
    {'y', "n", Keys("BS, Shift+VK_OEM_6")},  // +ny
    {'y', nullptr, Keys("Shift+V")},
    {'r', nullptr, Keys("Shift+B")},
    {'l', nullptr, Keys("Shift+N")},
    {'w', nullptr, Keys("Shift+VK_OEM_5")},
    {'s', "t", Keys("BS, Shift+L")},  // +ts
    {'s', nullptr, Keys("Shift+VK_OEM_COMMA")},
    {'z', "d", Keys("BS, Shift+VK_OEM_7")},  // +dz
    {'z', nullptr, Keys("Shift+X")},
    {'q', nullptr, Keys("Shift+C")},  // a-chung
    {'h', "k", Keys("BS, Shift+W")},  // +kh
    {'h', "c", Keys("BS, Shift+P")},  // +ch
    {'h', "t", Keys("BS, Shift+S")},  // +th
    {'h', "p", Keys("BS, Shift+H")},  // +ph
    {'h', "z", Keys("BS, Shift+Z")},  // +zh
    // 'h' after 's' is decided in code: +tsh or +sh.
    {'h', "T", Keys("BS, down VK_SHIFT, Caps+S, up VK_SHIFT")},  // +Th: Shift pressed by us
    {'h', "S", Keys("nothing")},  // +Sh, already typed by the S key
    {'h', nullptr, Keys("Shift+VK_OEM_PERIOD")},
    // Capitals arrive under the user's own Shift, with CapsLock toggled around.
    {'T', nullptr, Keys("Caps+A")},
    {'D', nullptr, Keys("Caps+D")},
    {'N', nullptr, Keys("Caps+F")},
    {'S', nullptr, Keys("Caps+M")},
    {'R', nullptr, Keys("Caps+B")},
    {'W', nullptr, Keys("Caps+VK_OEM_5")},
    {'Y', nullptr, Keys("Caps+V")},
};

constexpr KeySequence StackedTsh = Keys("BS, Shift+VK_OEM_1");
constexpr KeySequence StackedSh = Keys("BS, Shift+M");

}  // namespace

int ConvertStackedKey(int newChar, int previousChar) {
    const KeySequence* output;
    if (newChar == 'h' && previousChar == 's') {
        // '+' is always the first character, so this finds t, s, h right
        // after the plus and nowhere else.
        output = std::strstr(Engine.SyllableBuffer, "+tsh") ? &StackedTsh : &StackedSh;
    } else {
        output = FindCharRule(StackedKeys, newChar, previousChar);
    }
    // '+' itself, f, v, x, other capitals and a full buffer: nothing at all.
    if (output) {
        SendKeys(*output, 0);
    }
    return 1;
}

void VisitStackedOutputs(OutputVisitor visit, void* context) {
    for (const CharRule& rule : StackedKeys) {
        visit(rule.output, context);
    }
    visit(StackedTsh, context);
    visit(StackedSh, context);
}
