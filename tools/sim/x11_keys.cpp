#include "x11_keys.h"

#include "keys.h"

namespace {

struct X11Key {
    unsigned vk;
    const char* name;
};

constexpr X11Key X11Keys[] = {
    {VkBack, "BackSpace"},        {VkTab, "Tab"},
    {VkReturn, "Return"},         {VkEscape, "Escape"},
    {VkCapital, "Caps_Lock"},     {VkSpace, "space"},
    {VkLShift, "Shift_L"},        {VkLControl, "Control_L"},
    {VkLMenu, "Alt_L"},           {VkOem1, "semicolon"},
    {VkOemPlus, "equal"},         {VkOemComma, "comma"},
    {VkOemMinus, "minus"},        {VkOemPeriod, "period"},
    {VkOem2, "slash"},            {VkOem3, "grave"},
    {VkOem4, "bracketleft"},      {VkOem5, "backslash"},
    {VkOem6, "bracketright"},     {VkOem7, "apostrophe"},
};

struct CursorKey {
    unsigned vk;
    const char* dedicated;
    const char* keypad;
};

constexpr CursorKey CursorKeys[] = {
    {VkLeft, "Left", "KP_Left"},     {VkRight, "Right", "KP_Right"},
    {VkUp, "Up", "KP_Up"},           {VkDown, "Down", "KP_Down"},
    {VkHome, "Home", "KP_Home"},     {VkEnd, "End", "KP_End"},
    {VkPrior, "Prior", "KP_Prior"},  {VkNext, "Next", "KP_Next"},
    {VkInsert, "Insert", "KP_Insert"}, {VkDelete, "Delete", "KP_Delete"},
};

}  // namespace

std::string X11KeyName(unsigned vk, unsigned flags) {
    if (vk >= 'A' && vk <= 'Z') {
        return std::string(1, static_cast<char>(vk - 'A' + 'a'));
    }
    if (vk >= '0' && vk <= '9') {
        return std::string(1, static_cast<char>(vk));
    }
    if (vk >= VkF1 && vk < VkF1 + 12) {
        return "F" + std::to_string(vk - VkF1 + 1);
    }
    if (vk == VkReturn && (flags & FlagExtended)) {
        return "KP_Enter";
    }
    for (const CursorKey& key : CursorKeys) {
        if (key.vk == vk) {
            return (flags & FlagExtended) ? key.dedicated : key.keypad;
        }
    }
    for (const X11Key& key : X11Keys) {
        if (key.vk == vk) {
            return key.name;
        }
    }
    return "";
}
