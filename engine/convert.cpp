// Key dispatch, the syllable buffer, direct keys, vowels and single consonants.

#include <cstring>
#include <initializer_list>

#include "engine_state.h"
#include "inject.h"
#include "keys.h"
#include "rules.h"

namespace {

// Keys answered at once, never stored. NoSequence marks a cell that is not a
// direct key: the key goes on to be stored.
struct DirectKey {
    unsigned vk;
    KeySequence withoutShift;
    KeySequence withShift;
};

constexpr DirectKey DirectKeys[] = {
    {VkSpace, Keys("VK_SPACE"), Keys("VK_SPACE")},
    {VkOemMinus, Keys("VK_SPACE"), Keys("VK_SPACE")},
    {'0', Keys("0"), Keys("0")},
    {'1', Keys("1"), Keys("6")},
    {'2', Keys("2"), Keys("1")},
    {'3', Keys("3"), Keys("2")},
    {'4', Keys("4"), Keys("3")},
    {'5', Keys("5"), Keys("5")},
    {'6', Keys("6"), Keys("6")},
    {'7', Keys("7"), Keys("AltGr+C")},
    {'8', Keys("8"), Keys("up VK_SHIFT, Caps+VK_SPACE, down VK_SHIFT")},
    {'9', Keys("9"), Keys("9")},
    {'H', NoSequence, Keys("VK_OEM_MINUS")},
    {'M', NoSequence, Keys("up VK_SHIFT, Caps+K, down VK_SHIFT")},
    {'Q', Keys("Caps+R"), Keys("down VK_SHIFT, Caps+R, up VK_SHIFT")},
    {VkOem1, Keys("VK_OEM_MINUS"), Keys("up VK_LSHIFT, Caps+V, down VK_LSHIFT")},
    {VkOemPlus, Keys("Shift+8"), NoSequence},  // '+' with Shift starts a stack
    {VkOemComma, Keys("nothing"), Keys("Caps+G")},
    {VkOemPeriod, Keys("nothing"), Keys("Caps+H")},
    {VkOem2, Keys("VK_OEM_PLUS"), Keys("Y")},
};

struct VowelRule {
    char vowel;
    KeySequence firstKey;
    KeySequence doubled;     // the previous character is the same vowel
    KeySequence afterA;      // the previous character is 'a': a diphthong
    KeySequence otherwise;   // after a consonant
};

constexpr VowelRule VowelRules[] = {
    {'a', Keys("VK_OEM_2"), Keys("Shift+C"), Keys("Shift+C"), Keys("nothing")},
    {'i', Keys("VK_OEM_2, T"), Keys("BS, Shift+C, T"), Keys("Shift+U"), Keys("T")},  // ai
    {'u', Keys("VK_OEM_2, Y"), Keys("BS, Shift+C, Y"), Keys("Shift+I"), Keys("Y")},  // au
    {'e', Keys("VK_OEM_2, U"), Keys("BS, Shift+C, U"), Keys("U"), Keys("U")},
    {'o', Keys("VK_OEM_2, I"), Keys("BS, Shift+C, I"), Keys("I"), Keys("I")},
    {'I', Keys("up VK_SHIFT, VK_OEM_2, Shift+T, down VK_SHIFT"), Keys("BS, C, T"), Keys("T"), Keys("T")},
    {'A', Keys("C"), Keys("C"), Keys("C"), Keys("C")},  // and the syllable ends
};

// The first consonant of a syllable, and every consonant after a vowel.
constexpr CharRule SingleConsonants[] = {
    {'b', nullptr, Keys("J")},
    {'c', nullptr, Keys("O")},
    {'d', nullptr, Keys("D")},
    {'f', nullptr, Keys("H, Caps+L")},
    {'g', "n", Keys("BS, R")},  // ng after a vowel
    {'g', nullptr, Keys("E")},
    {'h', nullptr, Keys("VK_OEM_PERIOD")},
    {'j', nullptr, Keys("VK_OEM_4")},
    {'k', nullptr, Keys("Q")},
    {'l', nullptr, Keys("N")},
    {'m', nullptr, Keys("K")},
    {'n', nullptr, Keys("F")},
    {'p', nullptr, Keys("G")},
    {'q', nullptr, Keys("C")},  // a-chung, the apostrophe key
    {'r', nullptr, Keys("B")},
    {'s', nullptr, Keys("VK_OEM_COMMA")},
    {'t', nullptr, Keys("A")},
    {'v', nullptr, Keys("J, Caps+L")},
    {'w', nullptr, Keys("VK_OEM_5")},
    {'y', nullptr, Keys("V")},
    {'z', nullptr, Keys("X")},
    {'D', nullptr, Keys("up VK_LSHIFT, Caps+D, down VK_LSHIFT")},
    {'N', nullptr, Keys("up VK_LSHIFT, Caps+F, down VK_LSHIFT")},
    {'R', nullptr, Keys("up VK_SHIFT, Caps+B, down VK_SHIFT")},
    {'S', nullptr, Keys("up VK_LSHIFT, Caps+M, down VK_LSHIFT")},
    {'T', nullptr, Keys("up VK_LSHIFT, Caps+A, down VK_LSHIFT")},
};

const DirectKey* FindDirectKey(unsigned vk, bool shift) {
    for (const DirectKey& key : DirectKeys) {
        if (key.vk == vk) {
            const KeySequence& output = shift ? key.withShift : key.withoutShift;
            return output.count >= 0 ? &key : nullptr;
        }
    }
    return nullptr;
}

const VowelRule* FindVowel(int character) {
    for (const VowelRule& rule : VowelRules) {
        if (static_cast<unsigned char>(rule.vowel) == character) {
            return &rule;
        }
    }
    return nullptr;
}

bool IsPassThroughKey(unsigned vk) {
    // The navigation and editing block from VK_PRIOR to VK_HELP, and Enter.
    return (vk >= VkPrior && vk <= VkHelp) || vk == VkReturn;
}

// Stores the character for a key; gives the new and the previous character,
// both 0 when the buffer is full.
void Admit(unsigned vk, int& newChar, int& previousChar) {
    if (Engine.SyllableLength >= SyllableCapacity) {
        newChar = 0;
        previousChar = 0;
        return;
    }
    unsigned value;
    if (vk == VkOem7) {
        value = 'q';
    } else if (vk == VkOemPlus) {
        value = '+';
    } else {
        value = Engine.ShiftDown ? vk : vk + 32;
    }
    value &= 0xFF;  // stored as one byte
    const unsigned length = Engine.SyllableLength;
    previousChar = length > 0 ? static_cast<unsigned char>(Engine.SyllableBuffer[length - 1]) : 0;
    newChar = static_cast<int>(value);
    Engine.SyllableBuffer[length] = static_cast<char>(value);
    Engine.SyllableLength = length + 1;
}

void ConvertVowel(const VowelRule& rule, int previousChar, unsigned vk) {
    const KeySequence* output;
    if (Engine.SyllableLength == 1) {
        output = &rule.firstKey;
    } else if (previousChar == static_cast<unsigned char>(rule.vowel)) {
        output = &rule.doubled;
    } else if (previousChar == 'a') {
        output = &rule.afterA;
    } else {
        output = &rule.otherwise;
    }
    SendKeys(*output, vk);
    if (rule.vowel == 'A') {
        ResetSyllable();
    } else {
        Engine.AfterVowel = 1;
    }
}

void ConvertSingleConsonant(int newChar, int previousChar, unsigned vk) {
    const KeySequence* output = FindCharRule(SingleConsonants, newChar, previousChar);
    SendKeys(output ? *output : TypedKeyAgain, vk);
}

void Backspace() {
    if (Engine.SyllableLength > 0) {
        Engine.SyllableLength--;
        Engine.SyllableBuffer[Engine.SyllableLength] = 0;
    } else {
        ResetSyllable();
    }
}

}  // namespace

unsigned long SyllableResets = 0;

void ResetSyllable() {
    SyllableResets++;
    Engine.SyllableLength = 0;
    Engine.AfterVowel = 0;
    std::memset(Engine.SyllableBuffer, 0, sizeof Engine.SyllableBuffer);
}

int ConvertKey(unsigned vk) {
    if (vk == VkCapital) {
        // Before the mode test: CapsLock also switches English mode back.
        FlipMode();
        return 1;
    }
    if (!Engine.EwtsMode) {
        return 0;
    }
    if (IsPassThroughKey(vk)) {
        ResetSyllable();
        return 0;
    }
    if (vk == VkBack) {
        // The Backspace reaches the application and erases one character
        // there; the buffer and the screen stay only roughly in step.
        Backspace();
        return 0;
    }

    const bool shift = Engine.ShiftDown != 0;
    if (const DirectKey* key = FindDirectKey(vk, shift)) {
        SendKeys(shift ? key->withShift : key->withoutShift, vk);
        if (vk != VkOemComma || shift) {  // a plain comma keeps the syllable
            ResetSyllable();
        }
        return 1;
    }
    if (vk == VkOemPlus) {
        ResetSyllable();  // Shift with '+': a new syllable, stacked from here on
    }

    int newChar;
    int previousChar;
    Admit(vk, newChar, previousChar);

    if (const VowelRule* vowel = FindVowel(newChar)) {
        ConvertVowel(*vowel, previousChar, vk);
        return 1;
    }
    if (std::memchr(Engine.SyllableBuffer, '+', Engine.SyllableLength) != nullptr) {
        return ConvertStackedKey(newChar, previousChar);
    }
    if (Engine.SyllableLength == 1 || Engine.AfterVowel) {
        ConvertSingleConsonant(newChar, previousChar, vk);
        return 1;
    }
    if (Engine.SyllableLength == 2) {
        return ConvertSecondKey(newChar, vk);
    }
    return ConvertClusterKey(newChar, vk);
}

void VisitDispatchOutputs(OutputVisitor visit, void* context) {
    for (const DirectKey& key : DirectKeys) {
        for (const KeySequence* output : {&key.withoutShift, &key.withShift}) {
            if (output->count >= 0) {
                visit(*output, context);
            }
        }
    }
    for (const VowelRule& rule : VowelRules) {
        for (const KeySequence* output : {&rule.firstKey, &rule.doubled, &rule.afterA, &rule.otherwise}) {
            visit(*output, context);
        }
    }
    for (const CharRule& rule : SingleConsonants) {
        visit(rule.output, context);
    }
    visit(TypedKeyAgain, context);
}
