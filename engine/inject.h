// The six injection primitives: every keystroke the engine makes goes through
// them. Their bodies belong to the platform (SendInput in the library, a
// recorder in the simulator and the tests); the SendInput calls each of them
// makes are planned here, portably, so both platforms inject the same calls.
#pragma once

#include "key_sequence.h"

void KeyDown(int vk);
void KeyUp(int vk);
void TapKey(int vk);
void TapShifted(int vk);
void TapCapsLocked(int vk);
void TapAltGr(int vk);

// Delivers the mode message to the program's main window (null: nobody).
void SendModeChanged(void* mainWindow, int newMode);

// One input record. A record with a UTF-16 unit is a KEYEVENTF_UNICODE event
// for that unit (virtual key 0); the others are virtual-key events.
struct KeyEvent {
    unsigned short vk;
    bool up;
    char16_t unit = 0;
};

// The SendInput calls of one primitive: their records in order, and how many
// records each call hands over. No primitive makes more than three calls; a
// tap that becomes two characters takes four records.
struct InjectionPlan {
    KeyEvent events[10];
    int callSizes[3];
    int callCount;
};

// The calls of a primitive as the Tibetan keyboard layout wants them: virtual
// keys only.
InjectionPlan PlanInjection(StepKind kind, unsigned vk);

// The keyboard state that the receiving application sees, as far as the
// layout cares: Shift follows every Shift key event so far, the user's and
// the engine's, in order; CapsLock and AltGr follow the engine's own taps.
struct KeyboardView {
    bool shift = false;
    bool capsLock = false;
    bool altGr = false;
};

extern KeyboardView AppKeyboard;

// The Shift keys held down for the application, side by side: the user's
// own, and the left one that the engine's "down VK_SHIFT" or "down
// VK_LSHIFT" pressed to give a held Shift back after typing without it.
// The engine's stays down until a left Shift key-up, so it is the engine's to
// release once the user holds no Shift at all (the user may have held only
// the right one).
struct ShiftHold {
    bool userLeft = false;
    bool userRight = false;
    bool engineLeft = false;
};

extern ShiftHold HeldShift;

// Follows a key event of the user's (not injected) that reaches the
// application, so that its Shift counts for the taps after it.
void FollowUserKey(unsigned vk, bool up);

// The platform's answer: whether keys injected now reach the foreground
// application. The system drops them where it protects the application from
// ours (a program of higher integrity).
bool InjectionReachesTarget();

// What the receiving application's keyboard layout types for a key in a
// state, in UTF-16. count is -1 when it cannot tell (a dead key, or more text
// than fits).
struct LayoutAnswer {
    int count;
    char16_t units[4];
};

// The platform's answer: the foreground window's layout in the library, a
// chosen layout model in the simulator.
LayoutAnswer AskAppLayout(unsigned vk, const KeyboardView& view);

// The calls of a primitive as they go out: every tap of a key that types a
// character on the Tibetan layout is kept where the application's layout
// types that same character, and otherwise becomes that character itself (a
// down and an up record per UTF-16 unit, in the same call), or nothing where
// the Tibetan layout types nothing. Every other record stays as it is; a call
// left with no record is dropped. Moves AppKeyboard along the records.
InjectionPlan PlanOutput(StepKind kind, unsigned vk);

// Injects a sequence through the primitives; typedKey stands for the
// "typed key" step.
void SendKeys(const KeySequence& sequence, unsigned typedKey);
