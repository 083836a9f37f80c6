// The KEYS language: what events each piece of text makes, and the errors.

#include <gtest/gtest.h>

#include <cstdio>

#include "keys.h"
#include "keystrokes.h"

namespace {

std::string Events(const std::string& text) {
    const KeystrokeParse parse = ParseKeystrokes(text);
    if (!parse.error.empty()) {
        return "error: " + parse.error;
    }
    std::string result;
    for (const UserKey& key : parse.keys) {
        char flags[32];
        std::snprintf(flags, sizeof flags, "%s/%02x/%x", key.up ? "up" : "down", key.flags, key.message);
        result += KeyName(key.vk) + ":" + flags + " ";
    }
    return result;
}

TEST(Keystrokes, EventsOfEachKindOfKey) {
    struct Case {
        const char* text;
        const char* events;
    };
    const Case cases[] = {
        {"k", "K:down/00/100 K:up/80/101 "},
        {"K", "VK_LSHIFT:down/00/100 K:down/00/100 K:up/80/101 VK_LSHIFT:up/80/101 "},
        {"?", "VK_LSHIFT:down/00/100 VK_OEM_2:down/00/100 VK_OEM_2:up/80/101 VK_LSHIFT:up/80/101 "},
        {"\n", "VK_RETURN:down/00/100 VK_RETURN:up/80/101 "},
        {"{{", "VK_LSHIFT:down/00/100 VK_OEM_4:down/00/100 VK_OEM_4:up/80/101 VK_LSHIFT:up/80/101 "},
        {"{LEFT}", "VK_LEFT:down/01/100 VK_LEFT:up/81/101 "},
        {"{KP_LEFT}", "VK_LEFT:down/00/100 VK_LEFT:up/80/101 "},
        {"{KP_ENTER}", "VK_RETURN:down/01/100 VK_RETURN:up/81/101 "},
        {"{NUM7}", "VK_NUMPAD7:down/00/100 VK_NUMPAD7:up/80/101 "},
        {"{F12}", "VK_F12:down/00/100 VK_F12:up/80/101 "},
        {"{RCTRL down}{RCTRL up}", "VK_RCONTROL:down/01/100 VK_RCONTROL:up/81/101 "},
        {"{ALT down}k{ALT up}", "VK_LMENU:down/20/104 K:down/20/104 K:up/a0/105 VK_LMENU:up/80/101 "},
        {"}", "VK_LSHIFT:down/00/100 VK_OEM_6:down/00/100 VK_OEM_6:up/80/101 VK_LSHIFT:up/80/101 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Events(c.text), c.events) << c.text;
    }
}

TEST(Keystrokes, ErrorsNameThePositionAndTheProblem) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"ab{FOO}", "error: position 3: unknown key name {FOO}"},
        {"ab{BS", "error: position 3: '{' without a closing '}'"},
        {"a\tb", "error: position 2: character 0x09 is neither printable ASCII nor a newline"},
        {"k\xC3\xA9", "error: position 2: character 0xC3 is neither printable ASCII nor a newline"},
        {"{F13}", "error: position 1: unknown key name {F13}"},
        {"{LSHIFT}", "error: position 1: unknown key name {LSHIFT}"},
        {"{}", "error: position 1: unknown key name {}"},
        {"\r\n", "error: position 1: character 0x0D is neither printable ASCII nor a newline"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Events(c.text), c.error);
    }
}

TEST(Keystrokes, EveryPrintableCharacterIsAKey) {
    for (char c = 0x20; c < 0x7F; c++) {
        const std::string text = c == '{' ? "{{" : std::string(1, c);
        EXPECT_TRUE(ParseKeystrokes(text).error.empty()) << c;
    }
}

TEST(KeyNames, LettersDigitsAndWindowsNames) {
    EXPECT_EQ(KeyName('Q'), "Q");
    EXPECT_EQ(KeyName('7'), "7");
    EXPECT_EQ(KeyName(VkOem7), "VK_OEM_7");
    EXPECT_EQ(KeyName(VkNumpad0 + 1), "VK_NUMPAD1");
    EXPECT_EQ(KeyName(VkLMenu), "VK_LMENU");
    EXPECT_EQ(KeyName(0xE9), "0xE9");
}

}  // namespace
