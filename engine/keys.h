// Virtual-key codes, key messages and low-level hook flags, spelled out so that
// the engine builds without the platform's headers.
#pragma once

enum : unsigned {
    VkBack = 8,
    VkTab = 9,
    VkReturn = 13,
    VkShift = 16,
    VkControl = 17,
    VkMenu = 18,
    VkPause = 19,
    VkCapital = 20,
    VkEscape = 27,
    VkSpace = 32,
    VkPrior = 33,
    VkNext = 34,
    VkEnd = 35,
    VkHome = 36,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkInsert = 45,
    VkDelete = 46,
    VkHelp = 47,
    VkNumpad0 = 96,
    VkF1 = 112,
    VkPacket = 231,  // a character sent by itself (KEYEVENTF_UNICODE)
    VkNumLock = 144,
    VkLShift = 160,
    VkRShift = 161,
    VkLControl = 162,
    VkRControl = 163,
    VkLMenu = 164,
    VkRMenu = 165,
    VkOem1 = 186,
    VkOemPlus = 187,
    VkOemComma = 188,
    VkOemMinus = 189,
    VkOemPeriod = 190,
    VkOem2 = 191,
    VkOem3 = 192,
    VkOem4 = 219,
    VkOem5 = 220,
    VkOem6 = 221,
    VkOem7 = 222,
    VkOem102 = 226,
};

// The messages a low-level keyboard hook receives in wParam.
enum : unsigned {
    MsgKeyDown = 0x100,
    MsgKeyUp = 0x101,
    MsgSysKeyDown = 0x104,
    MsgSysKeyUp = 0x105,
};

// Bits of the hook's event flags.
enum : unsigned {
    FlagExtended = 0x01,
    FlagInjected = 0x10,
    FlagAltDown = 0x20,
    FlagUp = 0x80,
};

struct VkNameEntry {
    unsigned vk;
    const char* name;
};

// Windows' names for the keys that are not a letter or a digit.
constexpr VkNameEntry VkNames[] = {
    {VkBack, "VK_BACK"},       {VkTab, "VK_TAB"},
    {12, "VK_CLEAR"},          {VkReturn, "VK_RETURN"},
    {VkShift, "VK_SHIFT"},     {VkControl, "VK_CONTROL"},
    {VkMenu, "VK_MENU"},       {VkPause, "VK_PAUSE"},
    {VkCapital, "VK_CAPITAL"}, {VkEscape, "VK_ESCAPE"},
    {VkSpace, "VK_SPACE"},     {VkPrior, "VK_PRIOR"},
    {VkNext, "VK_NEXT"},       {VkEnd, "VK_END"},
    {VkHome, "VK_HOME"},       {VkLeft, "VK_LEFT"},
    {VkUp, "VK_UP"},           {VkRight, "VK_RIGHT"},
    {VkDown, "VK_DOWN"},       {41, "VK_SELECT"},
    {42, "VK_PRINT"},          {43, "VK_EXECUTE"},
    {44, "VK_SNAPSHOT"},       {VkInsert, "VK_INSERT"},
    {VkDelete, "VK_DELETE"},   {VkHelp, "VK_HELP"},
    {91, "VK_LWIN"},           {92, "VK_RWIN"},
    {93, "VK_APPS"},           {96, "VK_NUMPAD0"},
    {97, "VK_NUMPAD1"},        {98, "VK_NUMPAD2"},
    {99, "VK_NUMPAD3"},        {100, "VK_NUMPAD4"},
    {101, "VK_NUMPAD5"},       {102, "VK_NUMPAD6"},
    {103, "VK_NUMPAD7"},       {104, "VK_NUMPAD8"},
    {105, "VK_NUMPAD9"},       {106, "VK_MULTIPLY"},
    {107, "VK_ADD"},           {108, "VK_SEPARATOR"},
    {109, "VK_SUBTRACT"},      {110, "VK_DECIMAL"},
    {111, "VK_DIVIDE"},        {112, "VK_F1"},
    {113, "VK_F2"},            {114, "VK_F3"},
    {115, "VK_F4"},            {116, "VK_F5"},
    {117, "VK_F6"},            {118, "VK_F7"},
    {119, "VK_F8"},            {120, "VK_F9"},
    {121, "VK_F10"},           {122, "VK_F11"},
    {123, "VK_F12"},           {VkNumLock, "VK_NUMLOCK"},
    {145, "VK_SCROLL"},        {VkLShift, "VK_LSHIFT"},
    {VkRShift, "VK_RSHIFT"},   {VkLControl, "VK_LCONTROL"},
    {VkRControl, "VK_RCONTROL"}, {VkLMenu, "VK_LMENU"},
    {VkRMenu, "VK_RMENU"},     {VkOem1, "VK_OEM_1"},
    {VkOemPlus, "VK_OEM_PLUS"}, {VkOemComma, "VK_OEM_COMMA"},
    {VkOemMinus, "VK_OEM_MINUS"}, {VkOemPeriod, "VK_OEM_PERIOD"},
    {VkOem2, "VK_OEM_2"},      {VkOem3, "VK_OEM_3"},
    {VkOem4, "VK_OEM_4"},      {VkOem5, "VK_OEM_5"},
    {VkOem6, "VK_OEM_6"},      {VkOem7, "VK_OEM_7"},
    {VkOem102, "VK_OEM_102"},  {VkPacket, "VK_PACKET"},
};

constexpr bool IsLetterOrDigitKey(unsigned vk) {
    return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
}
