// The text of the two error boxes: "%s.\nError code=%u\n%s", composed into a
// fixed buffer without ever writing past it. The fixed message and the code
// are kept whole; the system's text is what gets cut when room runs out.
#pragma once

#include <cstddef>

template <typename Char>
struct BoundedText {
    Char* buffer;
    std::size_t capacity;
    std::size_t length = 0;

    BoundedText(Char* into, std::size_t size) : buffer(into), capacity(size) {
        if (capacity > 0) {
            buffer[0] = 0;
        }
    }

    void Append(const Char* text) {
        for (; text != nullptr && *text != 0 && length + 1 < capacity; text++) {
            buffer[length++] = *text;
        }
        if (capacity > 0) {
            buffer[length] = 0;
        }
    }

    void AppendAscii(const char* text) {
        Char wide[64] = {};
        std::size_t i = 0;
        for (; text[i] != '\0' && i + 1 < sizeof wide / sizeof wide[0]; i++) {
            wide[i] = static_cast<Char>(text[i]);
        }
        Append(wide);
    }

    void AppendNumber(unsigned value) {
        char digits[12] = {};
        int i = static_cast<int>(sizeof digits) - 1;
        do {
            digits[--i] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        AppendAscii(digits + i);
    }

};

constexpr const char* NoSystemText = "The system has no description for this error code.";

// message: the fixed text; systemText: the system's description of code, or
// null (or empty) when it has none.
template <typename Char>
void ComposeErrorText(Char* buffer, std::size_t capacity, const Char* message, unsigned code,
                      const Char* systemText) {
    // The fixed part is at most the message plus ".\nError code=4294967295\n".
    BoundedText<Char> text(buffer, capacity);
    text.Append(message);
    text.AppendAscii(".\nError code=");
    text.AppendNumber(code);
    text.AppendAscii("\n");
    if (systemText != nullptr && systemText[0] != 0) {
        text.Append(systemText);
    } else {
        text.AppendAscii(NoSystemText);
    }
}
