// Real words and phrases typed through the engine and the Tibetan layout,
// with the Unicode the receiving application must end up with. Each expected
// text is written twice, as it reads and code point by code point, so that a
// slip in either shows.

#include <gtest/gtest.h>

#include "keystrokes.h"
#include "layout.h"
#include "typing.h"

namespace {

struct TypedWord {
    const char* keys;
    const char* tibetan;
    const char32_t* codePoints;
};

const TypedWord Words[] = {
    // prefix b, superscript s over g, subscript r, suffix b, second suffix s
    {"bsgrubs", u8"བསྒྲུབས", U"\u0F56\u0F66\u0F92\u0FB2\u0F74\u0F56\u0F66"},
    // superscript r over g with subscript y
    {"rgyal", u8"རྒྱལ", U"\u0F62\u0F92\u0FB1\u0F63"},
    // prefix m before tsh, a root EWTS spells with three letters
    {"mtsho", u8"མཚོ", U"\u0F58\u0F5A\u0F7C"},
    // four syllables, tshegs and a shad
    {"bkra shis bde legs/", u8"བཀྲ་ཤིས་བདེ་ལེགས།", U"\u0F56\u0F40\u0FB2\u0F0B\u0F64\u0F72\u0F66\u0F0B\u0F56\u0F51\u0F7A\u0F0B\u0F63\u0F7A\u0F42\u0F66\u0F0D"},
    // ng written as one letter, then a second suffix
    {"sangs rgyas", u8"སངས་རྒྱས", U"\u0F66\u0F44\u0F66\u0F0B\u0F62\u0F92\u0FB1\u0F66"},
    // subscript y, and the a-chung as a final letter
    {"byang chub sems dpa'", u8"བྱང་ཆུབ་སེམས་དཔའ", U"\u0F56\u0FB1\u0F44\u0F0B\u0F46\u0F74\u0F56\u0F0B\u0F66\u0F7A\u0F58\u0F66\u0F0B\u0F51\u0F54\u0F60"},
    // the a-chung as a prefix carrying a vowel
    {"'od gsal", u8"འོད་གསལ", U"\u0F60\u0F7C\u0F51\u0F0B\u0F42\u0F66\u0F63"},
    // superscript r over d and over j
    {"rdo rje", u8"རྡོ་རྗེ", U"\u0F62\u0FA1\u0F7C\u0F0B\u0F62\u0F97\u0F7A"},
    // subscript l
    {"bla ma", u8"བླ་མ", U"\u0F56\u0FB3\u0F0B\u0F58"},
    // prefix d, and prefix m before ch
    {"dkon mchog", u8"དཀོན་མཆོག", U"\u0F51\u0F40\u0F7C\u0F53\u0F0B\u0F58\u0F46\u0F7C\u0F42"},
    // superscript s over k
    {"bod skad", u8"བོད་སྐད", U"\u0F56\u0F7C\u0F51\u0F0B\u0F66\u0F90\u0F51"},
    // prefix g before ny: ny stays a full letter
    {"gnyis", u8"གཉིས", U"\u0F42\u0F49\u0F72\u0F66"},
    // prefix b, superscript r over ny
    {"brnyes", u8"བརྙེས", U"\u0F56\u0F62\u0F99\u0F7A\u0F66"},
    // prefix b, superscript s over ny
    {"bsnyen", u8"བསྙེན", U"\u0F56\u0F66\u0F99\u0F7A\u0F53"},
    // prefix m before kh with subscript y
    {"mkhyen", u8"མཁྱེན", U"\u0F58\u0F41\u0FB1\u0F7A\u0F53"},
    // a-chung prefix before kh
    {"'khor lo", u8"འཁོར་ལོ", U"\u0F60\u0F41\u0F7C\u0F62\u0F0B\u0F63\u0F7C"},
    // prefix g before zh
    {"gzhung", u8"གཞུང", U"\u0F42\u0F5E\u0F74\u0F44"},
    // prefix b, superscript r over ts
    {"brtson", u8"བརྩོན", U"\u0F56\u0F62\u0FA9\u0F7C\u0F53"},
    // a-chung prefix before g with subscript r
    {"'grus", u8"འགྲུས", U"\u0F60\u0F42\u0FB2\u0F74\u0F66"},
    // superscript r over dz
    {"rdzogs", u8"རྫོགས", U"\u0F62\u0FAB\u0F7C\u0F42\u0F66"},
    // a-chung prefix before dz
    {"'dzin", u8"འཛིན", U"\u0F60\u0F5B\u0F72\u0F53"},
    // prefix m before dz
    {"mdzod", u8"མཛོད", U"\u0F58\u0F5B\u0F7C\u0F51"},
    // superscript s over p with subscript r
    {"sprul", u8"སྤྲུལ", U"\u0F66\u0FA4\u0FB2\u0F74\u0F63"},
    // superscript l over h
    {"lha sa", u8"ལྷ་ས", U"\u0F63\u0FB7\u0F0B\u0F66"},
    // subscripts r and w
    {"grwa", u8"གྲྭ", U"\u0F42\u0FB2\u0FAD"},
    // subscripts y and w
    {"phywa", u8"ཕྱྭ", U"\u0F55\u0FB1\u0FAD"},
    // a full stop keeps g a prefix before y
    {"g.yag", u8"གཡག", U"\u0F42\u0F61\u0F42"},
    // three syllables
    {"rin po che", u8"རིན་པོ་ཆེ", U"\u0F62\u0F72\u0F53\u0F0B\u0F54\u0F7C\u0F0B\u0F46\u0F7A"},
    // superscript s over p with subscript y; prefix g before z
    {"spyan ras gzigs", u8"སྤྱན་རས་གཟིགས", U"\u0F66\u0FA4\u0FB1\u0F53\u0F0B\u0F62\u0F66\u0F0B\u0F42\u0F5F\u0F72\u0F42\u0F66"},
    // prefix b, superscript r, root g, subscript y
    {"brgyad", u8"བརྒྱད", U"\u0F56\u0F62\u0F92\u0FB1\u0F51"},
    // prefix b, superscript s, root g, subscript y
    {"bsgyur", u8"བསྒྱུར", U"\u0F56\u0F66\u0F92\u0FB1\u0F74\u0F62"},
    // prefix b, superscript s, root k, subscript y
    {"bskyed", u8"བསྐྱེད", U"\u0F56\u0F66\u0F90\u0FB1\u0F7A\u0F51"},
    // prefix b before sh
    {"dge bshes", u8"དགེ་བཤེས", U"\u0F51\u0F42\u0F7A\u0F0B\u0F56\u0F64\u0F7A\u0F66"},
    // prefix m before th, a-chung suffix
    {"mtha'", u8"མཐའ", U"\u0F58\u0F50\u0F60"},
    // a-chung carrying the genitive i
    {"pa'i", u8"པའི", U"\u0F54\u0F60\u0F72"},
    // a-chung carrying a final o
    {"ba'o", u8"བའོ", U"\u0F56\u0F60\u0F7C"},
    // prefix b, superscript s over ng
    {"bsngo", u8"བསྔོ", U"\u0F56\u0F66\u0F94\u0F7C"},
    // superscript l over ng
    {"lnga", u8"ལྔ", U"\u0F63\u0F94"},
    // superscript r over ts with subscript w
    {"rtswa", u8"རྩྭ", U"\u0F62\u0FA9\u0FAD"},
    // a-chung prefix before ph
    {"'phags pa", u8"འཕགས་པ", U"\u0F60\u0F55\u0F42\u0F66\u0F0B\u0F54"},
    // a-chung prefix before ph with subscript r
    {"'phrin las", u8"འཕྲིན་ལས", U"\u0F60\u0F55\u0FB2\u0F72\u0F53\u0F0B\u0F63\u0F66"},
    // tsh as the first letter
    {"tshe ring", u8"ཚེ་རིང", U"\u0F5A\u0F7A\u0F0B\u0F62\u0F72\u0F44"},
    // a-chung suffix, superscript l over d
    {"dga' ldan", u8"དགའ་ལྡན", U"\u0F51\u0F42\u0F60\u0F0B\u0F63\u0FA1\u0F53"},
    // long i after a subscript: a doubled vowel
    {"hrii", u8"ཧྲཱི", U"\u0F67\u0FB2\u0F71\u0F72"},
    // long a by a doubled a
    {"kaa", u8"ཀཱ", U"\u0F40\u0F71"},
    // long a by A
    {"kA", u8"ཀཱ", U"\u0F40\u0F71"},
    // long u
    {"huu", u8"ཧཱུ", U"\u0F67\u0F71\u0F74"},
    // reversed i
    {"kI", u8"ཀྀ", U"\u0F40\u0F80"},
    // diphthongs ai and au
    {"kai kau", u8"ཀཻ་ཀཽ", U"\u0F40\u0F7B\u0F0B\u0F40\u0F7D"},
    // vowels at the start of a syllable sit on a
    {"a i u e o", u8"ཨ་ཨི་ཨུ་ཨེ་ཨོ", U"\u0F68\u0F0B\u0F68\u0F72\u0F0B\u0F68\u0F74\u0F0B\u0F68\u0F7A\u0F0B\u0F68\u0F7C"},
    // kSh, written k with subjoined Sh
    {"kSha", u8"ཀྵ", U"\u0F40\u0FB5"},
    // kSh stacked with +
    {"k+Sha", u8"ཀྵ", U"\u0F40\u0FB5"},
    // retroflex letters and Sh
    {"Ta Da Na Sha", u8"ཊ་ཌ་ཎ་ཥ", U"\u0F4A\u0F0B\u0F4C\u0F0B\u0F4E\u0F0B\u0F65"},
    // aspirates written with a subjoined h
    {"gha Dha bha", u8"གྷ་ཌྷ་བྷ", U"\u0F42\u0FB7\u0F0B\u0F4C\u0FB7\u0F0B\u0F56\u0FB7"},
    // the fixed-form ra
    {"Ra", u8"ཪ", U"\u0F6A"},
    // f and v carry the tsa-phru
    {"fa va", u8"ཕ༹་བ༹", U"\u0F55\u0F39\u0F0B\u0F56\u0F39"},
    // the six-syllable mantra: anusvara, retroflex N, a + stack
    {"oM ma Ni pad+me huM/", u8"ཨོཾ་མ་ཎི་པདྨེ་ཧུཾ།", U"\u0F68\u0F7C\u0F7E\u0F0B\u0F58\u0F0B\u0F4E\u0F72\u0F0B\u0F54\u0F51\u0FA8\u0F7A\u0F0B\u0F67\u0F74\u0F7E\u0F0D"},
    // visarga
    {"aH", u8"ཨཿ", U"\u0F68\u0F7F"},
    // Sanskrit stacks after a vowel need +
    {"rat+na dhar+ma bud+dha", u8"རཏྣ་དྷརྨ་བུདྡྷ", U"\u0F62\u0F4F\u0FA3\u0F0B\u0F51\u0FB7\u0F62\u0FA8\u0F0B\u0F56\u0F74\u0F51\u0FA1\u0FB7"},
    // two + stacks in one word
    {"man+tra", u8"མནྟྲ", U"\u0F58\u0F53\u0F9F\u0FB2"},
    // + then subjoined dh and a vowel
    {"sid+dhi", u8"སིདྡྷི", U"\u0F66\u0F72\u0F51\u0FA1\u0FB7\u0F72"},
    // Tibetan digits
    {"lo 1959", u8"ལོ་༡༩༥༩", U"\u0F63\u0F7C\u0F0B\u0F21\u0F29\u0F25\u0F29"},
    // shad, gter tsheg, and the non-breaking tsheg
    {"ka/ ka; ka*", u8"ཀ།་ཀ༔་ཀ༌", U"\u0F40\u0F0D\u0F0B\u0F40\u0F14\u0F0B\u0F40\u0F0C"},
    // Shift with the space bar types a real space
    {"ka{LSHIFT down} {LSHIFT up}kha", u8"ཀ ཁ", U"\u0F40 \u0F41"},
    // Enter breaks the line and ends the syllable
    {"ka\nkha", u8"ཀ\nཁ", U"\u0F40\n\u0F41"},
    // Backspace erases the last character
    {"bsgrubs{BS}", u8"བསྒྲུབ", U"\u0F56\u0F66\u0F92\u0FB2\u0F74\u0F56"},
    // English mode hands the keys to the Tibetan layout unchanged
    {"k{CAPS}k{CAPS}k", u8"ཀམཀ", U"\u0F40\u0F58\u0F40"},
};

std::u32string Typed(const char* keys, Replay replay, AppLayout layout = AppLayout::Tibetan) {
    const KeystrokeParse parse = ParseKeystrokes(keys);
    EXPECT_EQ(parse.error, "") << keys;
    return TypedText(parse.keys, replay, layout);
}

TEST(TypedWords, ExpectationsAgreeWithThemselves) {
    for (const TypedWord& word : Words) {
        EXPECT_EQ(Utf8(word.codePoints), word.tibetan) << word.keys;
    }
}

TEST(TypedWords, GiveTheirUnicode) {
    for (const TypedWord& word : Words) {
        const std::u32string typed = Typed(word.keys, Replay::AfterHook);
        EXPECT_EQ(CodePoints(typed), CodePoints(word.codePoints))
            << "[" << word.keys << "] gives " << Utf8(typed) << ", not " << word.tibetan;
    }
}

// Under Wine the injected keys come back through the hook inside SendInput;
// the application must end up with the same text.
TEST(TypedWords, SameWhenInjectedKeysReplayNested) {
    for (const TypedWord& word : Words) {
        EXPECT_EQ(CodePoints(Typed(word.keys, Replay::Nested)), CodePoints(word.codePoints)) << word.keys;
    }
}

// The Tibetan arrives whatever layout the application has: the same text with
// Windows' Dzongkha and US layouts, in both replay orders. In English mode the
// keys pass, and the application's own layout types them.
TEST(TypedWords, SameWithEveryApplicationLayout) {
    for (const TypedWord& word : Words) {
        for (AppLayout layout : {AppLayout::Dzongkha, AppLayout::Us}) {
            for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
                const std::u32string typed = Typed(word.keys, replay, layout);
                if (std::string(word.keys).find("{CAPS}") == std::string::npos) {
                    EXPECT_EQ(CodePoints(typed), CodePoints(word.codePoints)) << word.keys;
                }
            }
        }
    }
    EXPECT_EQ(CodePoints(Typed("k{CAPS}k{CAPS}k", Replay::AfterHook, AppLayout::Us)), "U+0F40 U+006B U+0F40");
    EXPECT_EQ(CodePoints(Typed("k{CAPS}k{CAPS}k", Replay::AfterHook, AppLayout::Dzongkha)), "U+0F40 U+0F58 U+0F40");
}

}  // namespace
