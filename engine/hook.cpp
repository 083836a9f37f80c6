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

}  // namespace

HookAnswer HandleKeyEvent(unsigned message, unsigned vk, unsigned flags) {
    const HookAnswer answer = DecideKeyEvent(message, vk, flags);
    // The user's keys that reach the application move its keyboard state
    // (the user's Shift counts for the characters typed under it); the
    // engine's own were followed as they were planned.
    if ((flags & FlagInjected) == 0 && answer != HookAnswer::Swallow) {
        FollowUserKey(vk, message == MsgKeyUp || message == MsgSysKeyUp);
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
    return ConvertKey(vk) ? HookAnswer::Swallow : HookAnswer::Pass;
}

}  // namespace
