#include "hook.h"

#include "engine_state.h"
#include "inject.h"
#include "keys.h"

EngineState Engine;

void FlipMode() {
    const int newMode = Engine.EwtsMode ? 0 : 1;
    // The program shows the new mode before the engine acts on it.
    SendModeChanged(Engine.MainWindow, newMode);
    Engine.EwtsMode = newMode;
    ResetSyllable();
}

namespace {

bool IsShiftKey(unsigned vk) {
    return vk == VkShift || vk == VkLShift || vk == VkRShift;
}

bool IsCtrlKey(unsigned vk) {
    return vk == VkControl || vk == VkLControl || vk == VkRControl;
}

HookAnswer DecideKeyEvent(unsigned message, unsigned vk, unsigned flags);

// A Shift that the engine pressed to give the user's held Shift back stays
// down in the application until a left Shift key-up. When the user held the
// right one, or switched to a window that drops our keys before letting go,
// nothing else would ever release it: the engine does, as soon as the user
// holds no Shift and its key can reach the application.
void ReleaseEngineShift() {
    if (HeldShift.engineLeft && !HeldShift.userLeft && !HeldShift.userRight && InjectionReachesTarget()) {
        KeyUp(VkLShift);
    }
}

}  // namespace

HookAnswer HandleKeyEvent(unsigned message, unsigned vk, unsigned flags) {
    const bool up = message == MsgKeyUp || message == MsgSysKeyUp;
    const bool users = (flags & FlagInjected) == 0;
    if (users && !up) {
        ReleaseEngineShift();  // before this key's own output
    }
    const HookAnswer answer = DecideKeyEvent(message, vk, flags);
    // The user's keys that reach the application move its keyboard state
    // (the user's Shift counts for the characters typed under it); the
    // engine's own were followed as they were planned.
    if (users && answer != HookAnswer::Swallow) {
        FollowUserKey(vk, up);
    }
    if (users && up) {
        ReleaseEngineShift();
    }
    return answer;
}

namespace {

HookAnswer DecideKeyEvent(unsigned message, unsigned vk, unsigned flags) {
    if (message == MsgKeyUp || message == MsgSysKeyUp) {
        // Injected key-ups count too: the Shift key-up that ends a shifted tap
        // clears ShiftDown even while the user still holds Shift.
        if (IsShiftKey(vk)) {
            Engine.ShiftDown = 0;
        } else if (IsCtrlKey(vk)) {
            Engine.CtrlDown = 0;
        }
        return HookAnswer::CallNext;
    }

    // Injected, extended and Alt-held key-downs pass untouched. The one
    // exception is VK_LSHIFT, so that the engine's own "down VK_LSHIFT" can
    // restore ShiftDown after a row that released the user's Shift.
    if (flags != 0 && vk != VkLShift) {
        return HookAnswer::CallNext;
    }
    if (IsCtrlKey(vk)) {
        Engine.CtrlDown = 1;
        return HookAnswer::CallNext;
    }
    if (IsShiftKey(vk)) {
        Engine.ShiftDown = 1;
        return HookAnswer::CallNext;
    }
    if (Engine.CtrlDown) {
        return HookAnswer::CallNext;
    }
    if (vk != VkCapital && !InjectionReachesTarget()) {
        // The application would never get a replacement: it gets the key.
        // What it shows no longer ends in the syllable, so a later key must
        // not take back characters of it. CapsLock still switches the mode,
        // which needs no keys of ours.
        ResetSyllable();
        return HookAnswer::CallNext;
    }
    return ConvertKey(vk) ? HookAnswer::Swallow : HookAnswer::Pass;
}

}  // namespace
