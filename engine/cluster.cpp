// The third and fourth consonant keys of a syllable with no vowel yet:
// prefix clusters, superscripts over a new root, and roots that EWTS spells
// with two or three letters. From the fifth key on, keys are typed as pressed.

#include <cstring>

#include "engine_state.h"
#include "inject.h"
#include "rules.h"

namespace {

// A row applies when the whole syllable equals one of its strings (EWTS,
// the a-chung written q); a row without strings is the key's "any other".
// A key's rows are tested in the order written.
struct ClusterRule {
    char character;
    const char* buffers[6];
    KeySequence output;
};

constexpr ClusterRule ThreeKeys[] = {
    {'d', {"brd"}, Keys("BS, B, Shift+D")},
    {'d', {"bld"}, Keys("BS, N, Shift+D")},
    {'d', {}, Keys("Shift+D")},
    {'g', {"brg"}, Keys("BS, B, Shift+E")},
    {'g', {"dng", "mng", "rng", "lng", "sng"}, Keys("BS, Shift+R")},
    {'g', {}, Keys("Shift+E")},
    {'h', {"qph", "kSh"}, Keys("nothing")},  // the second key's letter stands
    {'h', {"tsh"}, Keys("BS, VK_OEM_1")},
    {'h', {"gzh", "bzh"}, Keys("BS, Z")},
    {'h', {"gsh", "bsh"}, Keys("BS, M")},
    {'h', {"mkh", "qkh"}, Keys("BS, W")},
    {'h', {"mth", "qth"}, Keys("BS, S")},
    {'h', {"mch", "qch"}, Keys("BS, P")},
    {'h', {}, Keys("Shift+VK_OEM_PERIOD")},
    {'j', {"brj"}, Keys("BS, B, Shift+VK_OEM_4")},
    {'j', {}, Keys("Shift+VK_OEM_4")},
    {'k', {"brk"}, Keys("BS, B, Shift+Q")},
    {'k', {}, Keys("Shift+Q")},
    {'l', {}, Keys("Shift+N")},
    {'n', {"brn"}, Keys("BS, B, Shift+F")},
    {'n', {}, Keys("Shift+F")},
    {'r', {}, Keys("Shift+B")},
    {'s', {"gts", "bts", "mts", "qts"}, Keys("BS, L")},
    {'s', {}, Keys("BS, Shift+L")},
    {'t', {"brt"}, Keys("BS, B, Shift+A")},
    {'t', {"blt"}, Keys("BS, N, Shift+A")},
    {'t', {}, Keys("Shift+A")},
    {'w', {}, Keys("Shift+VK_OEM_5")},
    {'y', {"gny", "bny", "mny", "sny", "rny"}, Keys("BS, VK_OEM_6")},
    {'y', {}, Keys("Shift+V")},
    {'z', {"gdz", "bdz", "mdz", "qdz"}, Keys("BS, VK_OEM_7")},
    {'z', {}, Keys("BS, Shift+VK_OEM_7")},
};

// d, j, k, l, n and t have no rows at four keys: they are typed as pressed.
constexpr ClusterRule FourKeys[] = {
    {'g', {"brng", "bsng"}, Keys("BS, Shift+R")},
    {'g', {}, Keys("Shift+E")},
    {'h', {"mtsh", "qtsh"}, Keys("BS, VK_OEM_1")},
    {'h', {}, Keys("Shift+VK_OEM_PERIOD")},
    {'r', {}, Keys("Shift+B")},
    {'s', {"brts", "bsts"}, Keys("BS, Shift+L")},
    {'s', {}, Keys("Shift+VK_OEM_COMMA")},
    {'w', {}, Keys("Shift+VK_OEM_5")},
    {'y', {"brny", "bsny"}, Keys("BS, Shift+VK_OEM_6")},
    {'y', {}, Keys("Shift+V")},
    {'z', {"brdz"}, Keys("BS, Shift+VK_OEM_7")},
    {'z', {}, Keys("Shift+X")},
};

// The whole buffer, not a beginning of it: the string with its terminating
// zero against the zero-filled buffer.
bool BufferEquals(const char* text) {
    return std::memcmp(Engine.SyllableBuffer, text, std::strlen(text) + 1) == 0;
}

template <std::size_t N>
const KeySequence* FindClusterRule(const ClusterRule (&rules)[N], int newChar) {
    for (const ClusterRule& rule : rules) {
        if (static_cast<unsigned char>(rule.character) != newChar) {
            continue;
        }
        if (rule.buffers[0] == nullptr) {
            return &rule.output;
        }
        for (const char* buffer : rule.buffers) {
            if (buffer != nullptr && BufferEquals(buffer)) {
                return &rule.output;
            }
        }
    }
    return nullptr;
}

}  // namespace

int ConvertClusterKey(int newChar, unsigned typedKey) {
    const KeySequence* output = nullptr;
    if (Engine.SyllableLength == 3) {
        output = FindClusterRule(ThreeKeys, newChar);
    } else if (Engine.SyllableLength == 4) {
        output = FindClusterRule(FourKeys, newChar);
    }
    SendKeys(output ? *output : TypedKeyAgain, typedKey);
    return 1;
}

void VisitClusterOutputs(OutputVisitor visit, void* context) {
    for (const ClusterRule& rule : ThreeKeys) {
        visit(rule.output, context);
    }
    for (const ClusterRule& rule : FourKeys) {
        visit(rule.output, context);
    }
}
