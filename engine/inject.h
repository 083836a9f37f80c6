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

struct KeyEvent {
    unsigned short vk;
    bool up;
};

// The SendInput calls of one primitive: their records in order, and how many
// records each call hands over. No primitive makes more than three calls.
struct InjectionPlan {
    KeyEvent events[6];
    int callSizes[3];
    int callCount;
};

InjectionPlan PlanInjection(StepKind kind, unsigned vk);

// Injects a sequence through the primitives; typedKey stands for the
// "typed key" step.
void SendKeys(const KeySequence& sequence, unsigned typedKey);
