// The error boxes' text: composed into a fixed buffer, never past its end.

#include <gtest/gtest.h>

#include <string>

#include "error_text.h"

namespace {

TEST(ErrorText, UsualComposition) {
    char box[500];
    ComposeErrorText(box, sizeof box, "Can't initialize hook procedure", 5u, "Access is denied.\r\n");
    EXPECT_STREQ(box, "Can't initialize hook procedure.\nError code=5\nAccess is denied.\r\n");
}

TEST(ErrorText, FallbackWhenTheSystemHasNoText) {
    char box[500];
    ComposeErrorText<char>(box, sizeof box, "Could not load hook library", 4294967295u, nullptr);
    EXPECT_EQ(std::string(box), std::string("Could not load hook library.\nError code=4294967295\n") + NoSystemText);
    ComposeErrorText(box, sizeof box, "X", 0u, "");
    EXPECT_EQ(std::string(box), std::string("X.\nError code=0\n") + NoSystemText);
}

TEST(ErrorText, LongSystemTextIsCutAndTheRestKept) {
    const std::wstring longText(5000, L'x');
    wchar_t box[500];
    box[499] = L'?';
    ComposeErrorText(box, 500, L"Can't initialize hook procedure", 1428u, longText.c_str());
    const std::wstring text(box);
    EXPECT_EQ(text.size(), 499u);
    EXPECT_EQ(text.rfind(L"Can't initialize hook procedure.\nError code=1428\nxxx", 0), 0u);
}

TEST(ErrorText, TinyBuffersStayTerminated) {
    char box[8];
    ComposeErrorText(box, sizeof box, "Could not create window", 2u, "text");
    EXPECT_STREQ(box, "Could n");
    char one[1];
    ComposeErrorText(one, 1, "abc", 2u, "text");
    EXPECT_EQ(one[0], '\0');
}

}  // namespace
