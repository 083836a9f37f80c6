// The KEYS language of yanra-sim and the tests: printable ASCII typed as on a
// US keyboard, a newline as Enter, {NAME} for other keys, {{ for a brace.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One key event as the user makes it, with the message and flags that a
// low-level keyboard hook would see.
struct UserKey {
    unsigned vk;
    bool up;
    unsigned message;
    unsigned flags;
    std::size_t position;  // 1-based place in the text that produced it
};

struct KeystrokeParse {
    std::vector<UserKey> keys;
    std::string error;  // empty when the text was valid
};

KeystrokeParse ParseKeystrokes(const std::string& text);

// The name of a key in the notation of the tables: a letter or digit as
// itself, any other key by its Windows name ("VK_OEM_7"), or "0x.." when it
// has none.
std::string KeyName(unsigned vk);
