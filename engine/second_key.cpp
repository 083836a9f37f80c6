// The second consonant key of a syllable: a prefix before its root, a
// two-letter stack, or a pair that EWTS writes for one letter.

#include "inject.h"
#include "engine_state.h"
#include "rules.h"

namespace {

// Keyed by the new character and the syllable's first character. The plain
// key types a root after a prefix; Shift types a subjoined letter; BS takes
// back the first letter where the pair is one letter.
constexpr CharRule SecondKeys[] = {
    {'k', "bdmq", Keys("Q")},        // bk dk mk 'k
    {'k', nullptr, Keys("Shift+Q")},  // rk lk sk
    {'g', "bdmq", Keys("E")},        // bg dg mg 'g
    {'g', "n", Keys("BS, R")},       // ng
    {'g', nullptr, Keys("Shift+E")},  // rg lg sg
    {'c', "bgmq", Keys("O")},        // bc gc mc 'c
    {'c', nullptr, Keys("Shift+O")},  // lc
    {'j', "bmq", Keys("VK_OEM_4")},  // bj mj 'j
    {'j', nullptr, Keys("Shift+VK_OEM_4")},  // rj lj
    {'t', "bgmq", Keys("A")},        // bt gt mt 't
    {'t', nullptr, Keys("Shift+A")},  // rt lt st
    {'d', "bgmq", Keys("D")},        // bd gd md 'd
    {'d', nullptr, Keys("Shift+D")},  // rd ld sd
    {'n', "bdglm", Keys("F")},       // bn dn gn ln mn
    {'n', nullptr, Keys("Shift+F")},  // rn sn
    {'p', "d", Keys("G")},           // dp
    {'p', "q", Keys("H")},           // 'p, typed at once as the ph of 'ph
    {'p', nullptr, Keys("Shift+G")},  // lp sp
    {'b', "dq", Keys("J")},          // db 'b
    {'b', nullptr, Keys("Shift+J")},  // rb lb sb
    {'m', "bd", Keys("K")},          // bm dm
    {'m', nullptr, Keys("Shift+K")},  // rm sm
    {'s', "bg", Keys("VK_OEM_COMMA")},  // bs gs
    {'s', "t", Keys("BS, L")},       // ts
    {'s', nullptr, Keys("Shift+VK_OEM_COMMA")},
    {'z', "bg", Keys("X")},          // bz gz
    {'z', "d", Keys("BS, VK_OEM_7")},  // dz
    {'z', nullptr, Keys("Shift+X")},
    {'y', "n", Keys("BS, VK_OEM_6")},  // ny
    {'y', nullptr, Keys("Shift+V")},  // ky gy py by my
    {'r', nullptr, Keys("Shift+B")},  // kr gr dr br
    {'l', nullptr, Keys("Shift+N")},  // kl gl bl
    {'w', nullptr, Keys("Shift+VK_OEM_5")},  // kw gw
    {'h', "k", Keys("BS, W")},       // kh
    {'h', "c", Keys("BS, P")},       // ch
    {'h', "t", Keys("BS, S")},       // th
    {'h', "p", Keys("BS, H")},       // ph
    {'h', "s", Keys("BS, M")},       // sh
    {'h', "z", Keys("BS, Z")},       // zh
    {'h', "S", Keys("nothing")},     // Sh, already typed by the S key
    {'h', nullptr, Keys("Shift+VK_OEM_PERIOD")},  // gh dh bh, and after T and D
    {'S', nullptr, Keys("Caps+M")},  // kSh: under the user's own Shift
};

}  // namespace

int ConvertSecondKey(int newChar, unsigned typedKey) {
    const int firstChar = static_cast<unsigned char>(Engine.SyllableBuffer[0]);
    const KeySequence* output = FindCharRule(SecondKeys, newChar, firstChar);
    // f, v, x, the a-chung key, other capitals: typed again exactly as received.
    SendKeys(output ? *output : TypedKeyAgain, typedKey);
    return 1;
}

void VisitSecondKeyOutputs(OutputVisitor visit, void* context) {
    for (const CharRule& rule : SecondKeys) {
        visit(rule.output, context);
    }
}
