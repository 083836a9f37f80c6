// The injection primitives and the mode message over the real system.

#include <windows.h>

#include "engine_state.h"
#include "inject.h"
#include "target_integrity_win.h"

#ifndef _WIN64
static_assert(sizeof(INPUT) == 28, "SendInput takes the 28-byte records of Windows 2000/XP");
#endif

namespace {

void Inject(StepKind kind, int vk) {
    const InjectionPlan plan = PlanOutput(kind, static_cast<unsigned>(vk));
    const KeyEvent* event = plan.events;
    for (int call = 0; call < plan.callCount; call++) {
        INPUT records[sizeof plan.events / sizeof plan.events[0]] = {};
        const int count = plan.callSizes[call];
        // Read afresh for every call, as the events it goes with.
        const ULONG_PTR extraInfo = static_cast<ULONG_PTR>(GetMessageExtraInfo());
        for (int i = 0; i < count; i++, event++) {
            KEYBDINPUT& key = records[i].ki;
            records[i].type = INPUT_KEYBOARD;
            key.dwFlags = event->up ? KEYEVENTF_KEYUP : 0;
            if (event->unit != 0) {
                key.wScan = event->unit;
                key.dwFlags |= KEYEVENTF_UNICODE;
            } else {
                key.wVk = event->vk;
            }
            key.dwExtraInfo = extraInfo;
        }
        if (SendInput(static_cast<UINT>(count), records, sizeof(INPUT)) == 0) {
            NoteInjectionRefused();
        }
    }
}

}  // namespace

void KeyDown(int vk) { Inject(StepKind::Down, vk); }
void KeyUp(int vk) { Inject(StepKind::Up, vk); }
void TapKey(int vk) { Inject(StepKind::Tap, vk); }
void TapShifted(int vk) { Inject(StepKind::Shifted, vk); }
void TapCapsLocked(int vk) { Inject(StepKind::CapsLocked, vk); }
void TapAltGr(int vk) { Inject(StepKind::AltGr, vk); }

void SendModeChanged(void* mainWindow, int newMode) {
    if (mainWindow != nullptr) {
        SendMessageW(static_cast<HWND>(mainWindow), WM_MODE_CHANGED, static_cast<WPARAM>(newMode), 0);
    }
}
