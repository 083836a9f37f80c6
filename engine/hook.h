// The keyboard hook's decisions, apart from the platform: what the hook
// procedure does with an event once the system has handed it over with
// HC_ACTION.
#pragma once

enum class HookAnswer {
    CallNext,  // hand the event on to the next hook (CallNextHookEx)
    Pass,      // let it reach the application, answering 0 ourselves
    Swallow,   // answer 1: neither the application nor later hooks see it
};

// message is the hook's wParam (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN,
// WM_SYSKEYUP); vk and flags come from the event record.
HookAnswer HandleKeyEvent(unsigned message, unsigned vk, unsigned flags);
