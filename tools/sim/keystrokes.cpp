#include "keystrokes.h"

#include <cstdio>

#include "keys.h"

namespace {

struct AsciiKey {
    char character;
    unsigned vk;
    bool shift;
};

// US layout punctuation; letters, digits and the blank are worked out below.
constexpr AsciiKey Punctuation[] = {
    {'`', VkOem3, false},      {'~', VkOem3, true},       {'-', VkOemMinus, false},
    {'_', VkOemMinus, true},   {'=', VkOemPlus, false},   {'+', VkOemPlus, true},
    {'[', VkOem4, false},      {'{', VkOem4, true},       {']', VkOem6, false},
    {'}', VkOem6, true},       {'\\', VkOem5, false},     {'|', VkOem5, true},
    {';', VkOem1, false},      {':', VkOem1, true},       {'\'', VkOem7, false},
    {'"', VkOem7, true},       {',', VkOemComma, false},  {'<', VkOemComma, true},
    {'.', VkOemPeriod, false}, {'>', VkOemPeriod, true},  {'/', VkOem2, false},
    {'?', VkOem2, true},       {')', '0', true},          {'!', '1', true},
    {'@', '2', true},          {'#', '3', true},          {'$', '4', true},
    {'%', '5', true},          {'^', '6', true},          {'&', '7', true},
    {'*', '8', true},          {'(', '9', true},
};

bool AsciiToKey(char c, unsigned& vk, bool& shift) {
    if (c >= 'a' && c <= 'z') {
        vk = static_cast<unsigned>(c - 'a' + 'A');
        shift = false;
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        vk = static_cast<unsigned>(c);
        shift = true;
        return true;
    }
    if (c >= '0' && c <= '9') {
        vk = static_cast<unsigned>(c);
        shift = false;
        return true;
    }
    if (c == ' ') {
        vk = VkSpace;
        shift = false;
        return true;
    }
    for (const AsciiKey& key : Punctuation) {
        if (key.character == c) {
            vk = key.vk;
            shift = key.shift;
            return true;
        }
    }
    return false;
}

struct NamedKey {
    const char* name;
    unsigned vk;
    unsigned flags;
};

constexpr NamedKey NamedKeys[] = {
    {"BS", VkBack, 0},
    {"TAB", VkTab, 0},
    {"ENTER", VkReturn, 0},
    {"ESC", VkEscape, 0},
    {"CAPS", VkCapital, 0},
    {"SPACE", VkSpace, 0},
    // The dedicated cursor block: Windows reports these as extended keys.
    {"LEFT", VkLeft, FlagExtended},
    {"RIGHT", VkRight, FlagExtended},
    {"UP", VkUp, FlagExtended},
    {"DOWN", VkDown, FlagExtended},
    {"HOME", VkHome, FlagExtended},
    {"END", VkEnd, FlagExtended},
    {"PGUP", VkPrior, FlagExtended},
    {"PGDN", VkNext, FlagExtended},
    {"INS", VkInsert, FlagExtended},
    {"DEL", VkDelete, FlagExtended},
    // The same keys on the keypad with NumLock off: not extended.
    {"KP_LEFT", VkLeft, 0},
    {"KP_RIGHT", VkRight, 0},
    {"KP_UP", VkUp, 0},
    {"KP_DOWN", VkDown, 0},
    {"KP_HOME", VkHome, 0},
    {"KP_END", VkEnd, 0},
    {"KP_PGUP", VkPrior, 0},
    {"KP_PGDN", VkNext, 0},
    {"KP_INS", VkInsert, 0},
    {"KP_DEL", VkDelete, 0},
    {"KP_ENTER", VkReturn, FlagExtended},
};

struct ModifierKey {
    const char* name;
    unsigned vk;
    unsigned flags;
};

constexpr ModifierKey ModifierKeys[] = {
    {"LSHIFT", VkLShift, 0},
    {"RSHIFT", VkRShift, 0},
    {"LCTRL", VkLControl, 0},
    {"RCTRL", VkRControl, FlagExtended},
    {"ALT", VkLMenu, 0},
};

bool LookUpNamedKey(const std::string& name, unsigned& vk, unsigned& flags) {
    for (const NamedKey& key : NamedKeys) {
        if (name == key.name) {
            vk = key.vk;
            flags = key.flags;
            return true;
        }
    }
    // NUM0 to NUM9, the keypad digits with NumLock on; F1 to F12.
    if (name.size() == 4 && name.compare(0, 3, "NUM") == 0 && name[3] >= '0' && name[3] <= '9') {
        vk = VkNumpad0 + static_cast<unsigned>(name[3] - '0');
        flags = 0;
        return true;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' && name[1] >= '1' && name[1] <= '9') {
        unsigned number = static_cast<unsigned>(name[1] - '0');
        if (name.size() == 3) {
            if (name[2] < '0' || name[2] > '9') {
                return false;
            }
            number = number * 10 + static_cast<unsigned>(name[2] - '0');
        }
        if (number >= 1 && number <= 12) {
            vk = VkF1 + number - 1;
            flags = 0;
            return true;
        }
    }
    return false;
}

// Makes the events with the message and flags that the hook would get,
// following whether the user holds Alt.
struct KeyWriter {
    std::vector<UserKey>& keys;
    bool altHeld = false;

    void Event(unsigned vk, bool up, unsigned flags, std::size_t position) {
        unsigned message;
        if (altHeld) {
            flags |= FlagAltDown;
            message = up ? MsgSysKeyUp : MsgSysKeyDown;
        } else {
            message = up ? MsgKeyUp : MsgKeyDown;
        }
        if (up) {
            flags |= FlagUp;
        }
        keys.push_back({vk, up, message, flags, position});
    }

    void Press(unsigned vk, unsigned flags, std::size_t position) {
        Event(vk, false, flags, position);
        Event(vk, true, flags, position);
    }

    void Modifier(const ModifierKey& key, bool up, std::size_t position) {
        if (key.vk == VkLMenu) {
            // The Alt key-down itself already carries the Alt flag.
            altHeld = !up;
            Event(key.vk, up, key.flags, position);
            return;
        }
        Event(key.vk, up, key.flags, position);
    }
};

std::string PositionError(std::size_t position, const std::string& problem) {
    return "position " + std::to_string(position) + ": " + problem;
}

}  // namespace

KeystrokeParse ParseKeystrokes(const std::string& text) {
    KeystrokeParse result;
    KeyWriter writer{result.keys};
    for (std::size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        const std::size_t position = i + 1;
        if (c == '\n') {
            writer.Press(VkReturn, 0, position);
            continue;
        }
        if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
            writer.Event(VkLShift, false, 0, position);
            writer.Press(VkOem4, 0, position);
            writer.Event(VkLShift, true, 0, position);
            i++;
            continue;
        }
        if (c == '{') {
            const std::size_t close = text.find('}', i + 1);
            if (close == std::string::npos) {
                result.error = PositionError(position, "'{' without a closing '}'");
                break;
            }
            const std::string name = text.substr(i + 1, close - i - 1);
            unsigned vk = 0;
            unsigned flags = 0;
            bool known = false;
            if (LookUpNamedKey(name, vk, flags)) {
                writer.Press(vk, flags, position);
                known = true;
            } else {
                for (const ModifierKey& key : ModifierKeys) {
                    const std::string base = key.name;
                    if (name == base + " down" || name == base + " up") {
                        writer.Modifier(key, name == base + " up", position);
                        known = true;
                    }
                }
            }
            if (!known) {
                result.error = PositionError(position, "unknown key name {" + name + "}");
                break;
            }
            i = close;
            continue;
        }
        unsigned vk = 0;
        bool shift = false;
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E ||
            !AsciiToKey(c, vk, shift)) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
            result.error = PositionError(position, std::string("character ") + code +
                                                       " is neither printable ASCII nor a newline");
            break;
        }
        if (shift) {
            writer.Event(VkLShift, false, 0, position);
        }
        writer.Press(vk, 0, position);
        if (shift) {
            writer.Event(VkLShift, true, 0, position);
        }
    }
    if (!result.error.empty()) {
        result.keys.clear();
    }
    return result;
}

std::string KeyName(unsigned vk) {
    if (IsLetterOrDigitKey(vk)) {
        return std::string(1, static_cast<char>(vk));
    }
    for (const VkNameEntry& entry : VkNames) {
        if (entry.vk == vk) {
            return entry.name;
        }
    }
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", vk & 0xFFu);
    return code;
}
