// The layout model: which layer a key types on as the modifier messages come
// and go, and what Backspace, Enter and empty keys do to the text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys.h"
#include "layout.h"
#include "reference.h"

namespace {

struct Message {
    unsigned vk;
    bool up;
};

constexpr Message Down(unsigned vk) { return {vk, false}; }
constexpr Message Up(unsigned vk) { return {vk, true}; }

std::string TypedBy(const std::vector<Message>& messages) {
    TypingState state;
    for (const Message& message : messages) {
        TypeKeyMessage(state, message.vk, message.up);
    }
    return CodePoints(state.text);
}

struct LayerCase {
    const char* what;
    std::vector<Message> messages;
    const char* expected;
};

TEST(Layout, LayersFollowTheModifierMessages) {
    const LayerCase cases[] = {
        {"base", {Down('Q'), Up('Q')}, "U+0F40"},
        {"Shift", {Down(VkShift), Down('Q'), Up('Q'), Up(VkShift)}, "U+0F90"},
        {"either Shift key", {Down(VkRShift), Down('Q'), Up(VkRShift), Down('Q')}, "U+0F90 U+0F40"},
        {"CapsLock toggled on", {Down(VkCapital), Up(VkCapital), Down('Q')}, "U+0F88"},
        {"CapsLock toggled on and off", {Down(VkCapital), Up(VkCapital), Down(VkCapital), Down('Q')}, "U+0F40"},
        {"CapsLock key-up alone toggles nothing", {Up(VkCapital), Down('Q')}, "U+0F40"},
        {"Shift on the third layer", {Down(VkCapital), Down(VkShift), Down('Q')}, "U+0F8D"},
        {"AltGr held", {Down(VkRMenu), Down('Q'), Up(VkRMenu), Down('Q')}, "U+0F88 U+0F40"},
        {"Shift with AltGr", {Down(VkShift), Down(VkRMenu), Down('Q')}, "U+0F8D"},
        {"AltGr does not undo CapsLock", {Down(VkCapital), Down(VkRMenu), Down('Q')}, "U+0F88"},
        {"AltGr with the Ctrl that Windows reports with it", {Down(VkControl), Down(VkRMenu), Down('Q')}, "U+0F88"},
        {"left Alt makes a shortcut", {Down(VkMenu), Down('Q'), Up(VkMenu), Down('Q')}, "U+0F40"},
        {"Ctrl makes a shortcut", {Down(VkLControl), Down('Q'), Down(VkBack), Down(VkReturn)}, ""},
        {"key-ups type nothing", {Up('Q'), Up(VkSpace)}, ""},
        {"space bar on each layer",
         {Down(VkSpace), Down(VkShift), Down(VkSpace), Down(VkCapital), Down(VkSpace), Up(VkShift), Down(VkSpace)},
         "U+0F0B U+0020 U+00A0 U+0F0C"},
        {"a cell of two code points", {Down(VkCapital), Down(VkShift), Down('T')}, "U+0F8B U+0F99"},
        {"outside the Tibetan block", {Down(VkCapital), Down('G'), Down(VkShift), Down('G')}, "U+2039 U+00AB"},
    };
    for (const LayerCase& c : cases) {
        EXPECT_EQ(TypedBy(c.messages), c.expected) << c.what;
    }
}

// TapShifted ends with an injected Shift key-up while the user may still hold
// Shift: the system's Shift is up from then on, and so is the model's.
TEST(Layout, InjectedShiftUpReleasesAHeldShift) {
    EXPECT_EQ(TypedBy({Down(VkLShift), Down(VkShift), Down('Q'), Up(VkShift), Down('Q'), Up(VkLShift)}),
              "U+0F90 U+0F40");
}

TEST(Layout, KeysWithNothingInTheTableTypeNothing) {
    const unsigned keys[] = {VkOem102, VkTab, VkEscape, VkLeft, VkDelete, VkF1, VkNumpad0};
    for (unsigned vk : keys) {
        EXPECT_EQ(TypedBy({Down(vk)}), "") << vk;
        EXPECT_EQ(FindLayoutKey(vk) == nullptr || LayoutText(vk, LayerBase).empty(), true) << vk;
    }
    // A key with a row can still be empty on one layer: Shift with 4.
    EXPECT_EQ(TypedBy({Down(VkShift), Down('4')}), "");
}

TEST(Layout, EveryKeyThatTheEngineTypesHasARow) {
    for (unsigned vk = 'A'; vk <= 'Z'; vk++) {
        EXPECT_NE(FindLayoutKey(vk), nullptr) << vk;
    }
    for (unsigned vk = '0'; vk <= '9'; vk++) {
        EXPECT_NE(FindLayoutKey(vk), nullptr) << vk;
    }
    const unsigned others[] = {VkSpace, VkOem1, VkOemPlus, VkOemComma, VkOemMinus, VkOemPeriod,
                               VkOem2,  VkOem3, VkOem4,    VkOem5,     VkOem6,     VkOem7};
    for (unsigned vk : others) {
        EXPECT_NE(FindLayoutKey(vk), nullptr) << vk;
    }
}

TEST(Layout, BackspaceErasesOneCodePoint) {
    TypingState state;
    // Subjoined ka, then ka: three bytes each in UTF-8.
    for (const Message& message : {Down(VkShift), Down('Q'), Up(VkShift), Down('Q')}) {
        TypeKeyMessage(state, message.vk, message.up);
    }
    ASSERT_EQ(Utf8(state.text), u8"ྐཀ");
    TypeKeyMessage(state, VkBack, false);
    EXPECT_EQ(Utf8(state.text), u8"ྐ");
    TypeKeyMessage(state, VkBack, false);
    TypeKeyMessage(state, VkBack, false);  // nothing left to erase
    EXPECT_EQ(state.text, U"");
    TypeKeyMessage(state, 'Q', false);
    EXPECT_EQ(Utf8(state.text), u8"ཀ");
}

TEST(Layout, EnterBreaksTheLine) {
    EXPECT_EQ(TypedBy({Down('Q'), Down(VkReturn), Up(VkReturn), Down('W')}), "U+0F40 U+000A U+0F41");
}

TEST(Layout, Utf8EncodesEveryLength) {
    EXPECT_EQ(Utf8(U"a\u00AB\u0F40\U0001F600"), "a\xC2\xAB\xE0\xBD\x80\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8(U""), "");
}

// The generated reference fails rather than print a row that types nothing.
TEST(Reference, EveryRowTypesSomething) {
    for (ReferenceFormat format : {ReferenceFormat::Text, ReferenceFormat::Markdown}) {
        std::string output;
        std::string error;
        EXPECT_TRUE(MakeReference(format, output, error)) << error;
        EXPECT_NE(output.find(u8"ཀྱ"), std::string::npos);
    }
}

}  // namespace
