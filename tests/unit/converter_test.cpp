// The converter's tables row by row, and the syllable buffer's limits.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine_state.h"
#include "keys.h"
#include "test_support.h"

namespace {

struct RowCase {
    const char* keys;      // a fresh syllable, typed in the yanra-sim language
    const char* lastOutput;
};

void CheckLastOutputs(const RowCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; i++) {
        ResetSimulation();
        Type(cases[i].keys);
        EXPECT_EQ(LastOutput(), cases[i].lastOutput) << "keys [" << cases[i].keys << "]";
        EXPECT_EQ(Sim.trace.back().answer, HookAnswer::Swallow) << "keys [" << cases[i].keys << "]";
    }
}

TEST(SecondKey, EveryRow) {
    const RowCase cases[] = {
        {"bk", "Q"}, {"dk", "Q"}, {"mk", "Q"}, {"'k", "Q"},
        {"rk", "Shift+Q"}, {"lk", "Shift+Q"}, {"sk", "Shift+Q"}, {"gk", "Shift+Q"},
        {"bg", "E"}, {"dg", "E"}, {"mg", "E"}, {"'g", "E"},
        {"ng", "BS, R"},
        {"rg", "Shift+E"}, {"lg", "Shift+E"}, {"sg", "Shift+E"},
        {"bc", "O"}, {"gc", "O"}, {"mc", "O"}, {"'c", "O"}, {"lc", "Shift+O"},
        {"bj", "VK_OEM_4"}, {"mj", "VK_OEM_4"}, {"'j", "VK_OEM_4"},
        {"rj", "Shift+VK_OEM_4"}, {"lj", "Shift+VK_OEM_4"},
        {"bt", "A"}, {"gt", "A"}, {"mt", "A"}, {"'t", "A"},
        {"rt", "Shift+A"}, {"lt", "Shift+A"}, {"st", "Shift+A"},
        {"bd", "D"}, {"gd", "D"}, {"md", "D"}, {"'d", "D"},
        {"rd", "Shift+D"}, {"ld", "Shift+D"}, {"sd", "Shift+D"},
        {"bn", "F"}, {"dn", "F"}, {"gn", "F"}, {"ln", "F"}, {"mn", "F"},
        {"rn", "Shift+F"}, {"sn", "Shift+F"},
        {"dp", "G"}, {"'p", "H"}, {"lp", "Shift+G"}, {"sp", "Shift+G"},
        {"db", "J"}, {"'b", "J"}, {"rb", "Shift+J"}, {"lb", "Shift+J"}, {"sb", "Shift+J"},
        {"bm", "K"}, {"dm", "K"}, {"rm", "Shift+K"}, {"sm", "Shift+K"},
        {"bs", "VK_OEM_COMMA"}, {"gs", "VK_OEM_COMMA"}, {"ts", "BS, L"}, {"ks", "Shift+VK_OEM_COMMA"},
        {"bz", "X"}, {"gz", "X"}, {"dz", "BS, VK_OEM_7"}, {"kz", "Shift+X"},
        {"ny", "BS, VK_OEM_6"},
        {"ky", "Shift+V"}, {"gy", "Shift+V"}, {"py", "Shift+V"}, {"by", "Shift+V"}, {"my", "Shift+V"},
        {"kr", "Shift+B"}, {"gr", "Shift+B"}, {"dr", "Shift+B"}, {"br", "Shift+B"},
        {"kl", "Shift+N"}, {"gl", "Shift+N"}, {"bl", "Shift+N"},
        {"kw", "Shift+VK_OEM_5"}, {"gw", "Shift+VK_OEM_5"},
        {"kh", "BS, W"}, {"ch", "BS, P"}, {"th", "BS, S"}, {"ph", "BS, H"}, {"sh", "BS, M"}, {"zh", "BS, Z"},
        {"Sh", "nothing"},
        {"gh", "Shift+VK_OEM_PERIOD"}, {"dh", "Shift+VK_OEM_PERIOD"}, {"bh", "Shift+VK_OEM_PERIOD"},
        {"Th", "Shift+VK_OEM_PERIOD"}, {"Dh", "Shift+VK_OEM_PERIOD"},
        {"kS", "Caps+M"},
        // No row: typed again exactly as received.
        {"kf", "F"}, {"kv", "V"}, {"kx", "X"}, {"k'", "VK_OEM_7"}, {"kT", "T"}, {"kY", "Y"},
        {"k{TAB}", "VK_TAB"},
    };
    CheckLastOutputs(cases, std::size(cases));
}

TEST(ThreeKeys, EveryRow) {
    const RowCase cases[] = {
        {"brd", "BS, B, Shift+D"}, {"bld", "BS, N, Shift+D"}, {"kyd", "Shift+D"},
        {"brg", "BS, B, Shift+E"},
        {"dng", "BS, Shift+R"}, {"mng", "BS, Shift+R"}, {"rng", "BS, Shift+R"},
        {"lng", "BS, Shift+R"}, {"sng", "BS, Shift+R"}, {"bsg", "Shift+E"},
        {"'ph", "nothing"}, {"kSh", "nothing"},
        {"tsh", "BS, VK_OEM_1"},
        {"gzh", "BS, Z"}, {"bzh", "BS, Z"}, {"gsh", "BS, M"}, {"bsh", "BS, M"},
        {"mkh", "BS, W"}, {"'kh", "BS, W"}, {"mth", "BS, S"}, {"'th", "BS, S"},
        {"mch", "BS, P"}, {"'ch", "BS, P"},
        {"ksh", "Shift+VK_OEM_PERIOD"}, {"bkh", "Shift+VK_OEM_PERIOD"},
        {"brj", "BS, B, Shift+VK_OEM_4"}, {"blj", "Shift+VK_OEM_4"},
        {"brk", "BS, B, Shift+Q"}, {"bsk", "Shift+Q"},
        {"bsl", "Shift+N"}, {"brl", "Shift+N"},
        {"brn", "BS, B, Shift+F"}, {"bsn", "Shift+F"},
        {"dkr", "Shift+B"},
        {"gts", "BS, L"}, {"bts", "BS, L"}, {"mts", "BS, L"}, {"'ts", "BS, L"},
        {"brs", "BS, Shift+L"}, {"kys", "BS, Shift+L"},
        {"brt", "BS, B, Shift+A"}, {"blt", "BS, N, Shift+A"}, {"bst", "Shift+A"},
        {"dkw", "Shift+VK_OEM_5"},
        {"gny", "BS, VK_OEM_6"}, {"bny", "BS, VK_OEM_6"}, {"mny", "BS, VK_OEM_6"},
        {"sny", "BS, VK_OEM_6"}, {"rny", "BS, VK_OEM_6"}, {"dky", "Shift+V"},
        {"gdz", "BS, VK_OEM_7"}, {"bdz", "BS, VK_OEM_7"}, {"mdz", "BS, VK_OEM_7"}, {"'dz", "BS, VK_OEM_7"},
        {"brz", "BS, Shift+VK_OEM_7"},
        // Keys without rows: typed again as pressed.
        {"brc", "C"}, {"brm", "M"}, {"brp", "P"}, {"brb", "B"}, {"brf", "F"}, {"br'", "VK_OEM_7"},
        {"brT", "T"}, {"brS", "S"},
    };
    CheckLastOutputs(cases, std::size(cases));
}

TEST(FourKeys, EveryRow) {
    const RowCase cases[] = {
        {"brng", "BS, Shift+R"}, {"bsng", "BS, Shift+R"}, {"bsgg", "Shift+E"},
        {"mtsh", "BS, VK_OEM_1"}, {"'tsh", "BS, VK_OEM_1"}, {"btsh", "Shift+VK_OEM_PERIOD"},
        {"bsgr", "Shift+B"},
        {"brts", "BS, Shift+L"}, {"bsts", "BS, Shift+L"}, {"bsks", "Shift+VK_OEM_COMMA"},
        {"bsgw", "Shift+VK_OEM_5"},
        {"brny", "BS, Shift+VK_OEM_6"}, {"bsny", "BS, Shift+VK_OEM_6"}, {"bsky", "Shift+V"},
        {"brdz", "BS, Shift+VK_OEM_7"}, {"bsdz", "Shift+X"},
        // d, j, k, l, n and t have no rows at four keys.
        {"bsgd", "D"}, {"bsgj", "J"}, {"bsgk", "K"}, {"bsgl", "L"}, {"bsgn", "N"}, {"bsgt", "T"},
        {"bsg'", "VK_OEM_7"},
    };
    CheckLastOutputs(cases, std::size(cases));
}

TEST(Stacking, EveryRow) {
    const RowCase cases[] = {
        {"+k", "Shift+Q"}, {"+g", "Shift+E"}, {"+ng", "BS, Shift+R"}, {"+c", "Shift+O"},
        {"+j", "Shift+VK_OEM_4"}, {"+t", "Shift+A"}, {"+d", "Shift+D"}, {"+n", "Shift+F"},
        {"+p", "Shift+G"}, {"+b", "Shift+J"}, {"+m", "Shift+K"}, {"+y", "Shift+V"},
        {"+ny", "BS, Shift+VK_OEM_6"}, {"+r", "Shift+B"}, {"+l", "Shift+N"}, {"+w", "Shift+VK_OEM_5"},
        {"+s", "Shift+VK_OEM_COMMA"}, {"+ts", "BS, Shift+L"}, {"+z", "Shift+X"},
        {"+dz", "BS, Shift+VK_OEM_7"}, {"+'", "Shift+C"},
        {"+kh", "BS, Shift+W"}, {"+ch", "BS, Shift+P"}, {"+th", "BS, Shift+S"},
        {"+ph", "BS, Shift+H"}, {"+zh", "BS, Shift+Z"},
        {"+tsh", "BS, Shift+VK_OEM_1"}, {"+sh", "BS, Shift+M"}, {"+ksh", "BS, Shift+M"},
        {"+tssh", "BS, Shift+M"},
        {"+Th", "BS, down VK_SHIFT, Caps+S, up VK_SHIFT"}, {"+Sh", "nothing"},
        {"+h", "Shift+VK_OEM_PERIOD"}, {"+gh", "Shift+VK_OEM_PERIOD"},
        {"+T", "Caps+A"}, {"+D", "Caps+D"}, {"+N", "Caps+F"}, {"+S", "Caps+M"},
        {"+R", "Caps+B"}, {"+W", "Caps+VK_OEM_5"}, {"+Y", "Caps+V"},
        {"+", "nothing"}, {"+f", "nothing"}, {"+v", "nothing"}, {"+x", "nothing"}, {"+K", "nothing"},
        {"+{TAB}", "nothing"},
        // Consonants after a vowel of the same stack stay stacked; a
        // consonant after the stack's letters too, whatever the length.
        {"+yag", "Shift+E"}, {"+kyrwl", "Shift+N"},
    };
    CheckLastOutputs(cases, std::size(cases));
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; i++) {
        result += text;
    }
    return result;
}

TEST(Buffer, FullSyllableTypesKeysAsPressed) {
    ResetSimulation();
    Type("ba" + Repeat("g", 28));
    ASSERT_EQ(Engine.SyllableLength, 30u);
    EXPECT_EQ(LastOutput(), "E");
    Type("g");  // not stored: matches no row, typed again
    EXPECT_EQ(Engine.SyllableLength, 30u);
    EXPECT_EQ(LastOutput(), "G");
    Type("i");  // a vowel key too: its character is not stored
    EXPECT_EQ(LastOutput(), "I");
    EXPECT_EQ(Engine.SyllableBuffer[30], '\0');
    EXPECT_EQ(Engine.SyllableBuffer[31], '\0');
    Type("{BS}g");  // Backspace makes room again
    EXPECT_EQ(LastOutput(), "E");
    EXPECT_EQ(Engine.SyllableLength, 30u);
}

TEST(Buffer, FullStackSwallowsEverythingSilently) {
    ResetSimulation();
    Type("+" + Repeat("k", 29));
    ASSERT_EQ(Engine.SyllableLength, 30u);
    EXPECT_EQ(LastOutput(), "Shift+Q");
    for (const char* key : {"k", "a", "i", "h"}) {
        Type(key);
        EXPECT_EQ(LastOutput(), "nothing") << key;
        EXPECT_EQ(Sim.trace.back().answer, HookAnswer::Swallow) << key;
    }
    Type("{BS}a");
    EXPECT_EQ(LastOutput(), "nothing");  // a after a consonant, stored again
    EXPECT_EQ(Engine.AfterVowel, 1);
}

TEST(Buffer, DirectAndPassThroughKeysEmptyIt) {
    for (const char* key : {" ", ".", "1", "{ENTER}", "{KP_HOME}", "A"}) {
        ResetSimulation();
        Type("bsgr");
        Type(key);
        EXPECT_EQ(Engine.SyllableLength, 0u) << key;
    }
    ResetSimulation();
    Type("bsgr,");
    EXPECT_EQ(Buffer(), "bsgr");  // the plain comma keeps the syllable
}

TEST(Buffer, AdmissionArithmetic) {
    struct Case {
        const char* keys;
        const char* stored;
    };
    const Case cases[] = {
        {"k", "k"},
        {"K", "K"},
        {"'", "q"},
        {"\"", "q"},  // the apostrophe key with Shift is still the a-chung
        {"+", "+"},
        {"{TAB}", ")"},  // 9 + 32
        {"{LSHIFT down}{F1}", "p"},  // Shift with F1 (112) is 'p'
        {"`", "\xE0"},  // VK_OEM_3 (192) + 32
    };
    for (const Case& c : cases) {
        ResetSimulation();
        Type(c.keys);
        EXPECT_EQ(Buffer(), c.stored) << c.keys;
    }
}

// Whatever is typed, the buffer keeps its shape: at most 30 characters and
// nothing but zeros behind them.
TEST(Buffer, StaysZeroFilledUnderRandomTyping) {
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzAIEOUSTDNRHMQ'+,.;/ 0123456789";
    const char* named[] = {"{BS}", "{ENTER}", "{CAPS}", "{LEFT}", "{TAB}", "{LSHIFT down}", "{LSHIFT up}",
                           "{LCTRL down}", "{LCTRL up}", "{ALT down}", "{ALT up}"};
    std::mt19937 random(12345);
    for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
        ResetSimulation(replay);
        for (int i = 0; i < 20000; i++) {
            const std::size_t pick = random() % (alphabet.size() + std::size(named));
            Type(pick < alphabet.size() ? std::string(1, alphabet[pick]) : named[pick - alphabet.size()]);
            ASSERT_LE(Engine.SyllableLength, 30u);
            for (unsigned j = Engine.SyllableLength; j < sizeof Engine.SyllableBuffer; j++) {
                ASSERT_EQ(Engine.SyllableBuffer[j], '\0') << "step " << i;
            }
            ASSERT_TRUE(Engine.EwtsMode == 0 || Engine.EwtsMode == 1);
        }
    }
}

}  // namespace
