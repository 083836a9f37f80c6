#include "inject.h"

#include <initializer_list>

#include "keys.h"
#include "tibetan_layout.h"

KeyboardView AppKeyboard;
ShiftHold HeldShift;

namespace {

void AddCall(InjectionPlan& plan, std::initializer_list<KeyEvent> events) {
    int used = 0;
    for (int i = 0; i < plan.callCount; i++) {
        used += plan.callSizes[i];
    }
    for (const KeyEvent& event : events) {
        plan.events[used++] = event;
    }
    plan.callSizes[plan.callCount++] = static_cast<int>(events.size());
}

// Moves the application's keyboard state along one key event.
void Follow(KeyboardView& view, unsigned vk, bool up) {
    switch (vk) {
    case VkShift:
    case VkLShift:
    case VkRShift:
        // One state for both keys, as the application keeps it: an injected
        // Shift key-up releases Shift even while the user holds it.
        view.shift = !up;
        break;
    case VkCapital:
        if (!up) {
            view.capsLock = !view.capsLock;
        }
        break;
    case VkRMenu:
        view.altGr = !up;
        break;
    default:
        break;
    }
}

struct TableText {
    int count;
    char16_t units[4];
};

// What the Tibetan layout types for a key in a state, in UTF-16; false for a
// key that the layout does not cover.
bool TibetanText(unsigned vk, const KeyboardView& view, TableText& text) {
    const LayoutKey* key = FindLayoutKey(vk);
    if (key == nullptr) {
        return false;
    }
    text.count = 0;
    for (char32_t c : key->text[LayerOf(view.shift, view.capsLock || view.altGr)]) {
        if (c >= 0x10000) {
            text.units[text.count++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text.units[text.count++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else if (c != 0) {
            text.units[text.count++] = static_cast<char16_t>(c);
        }
    }
    return true;
}

bool Types(const LayoutAnswer& answer, const TableText& text) {
    if (answer.count != text.count) {
        return false;
    }
    for (int i = 0; i < text.count; i++) {
        if (answer.units[i] != text.units[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

void FollowUserKey(unsigned vk, bool up) {
    Follow(AppKeyboard, vk, up);
    if (vk == VkShift || vk == VkLShift) {
        HeldShift.userLeft = !up;
        if (up) {
            HeldShift.engineLeft = false;  // one key: its key-up releases both holds
        }
    } else if (vk == VkRShift) {
        HeldShift.userRight = !up;
    }
}

InjectionPlan PlanOutput(StepKind kind, unsigned vk) {
    const InjectionPlan keys = PlanInjection(kind, vk);
    InjectionPlan plan = {};
    int used = 0;
    const KeyEvent* event = keys.events;
    for (int call = 0; call < keys.callCount; call++) {
        const int size = keys.callSizes[call];
        const int first = used;
        for (int i = 0; i < size; i++) {
            const KeyEvent& record = event[i];
            TableText text;
            const bool tap = !record.up && i + 1 < size && event[i + 1].vk == record.vk && event[i + 1].up;
            if (tap && TibetanText(record.vk, AppKeyboard, text)) {
                if (Types(AskAppLayout(record.vk, AppKeyboard), text)) {
                    plan.events[used++] = record;
                    plan.events[used++] = event[i + 1];
                } else {
                    for (int u = 0; u < text.count; u++) {
                        plan.events[used++] = {0, false, text.units[u]};
                        plan.events[used++] = {0, true, text.units[u]};
                    }
                }
                i++;
                continue;
            }
            Follow(AppKeyboard, record.vk, record.up);
            if (record.vk == VkShift || record.vk == VkLShift) {
                // The system takes a generic Shift for the left one.
                HeldShift.engineLeft = !record.up;
            }
            plan.events[used++] = record;
        }
        if (used > first) {
            plan.callSizes[plan.callCount++] = used - first;
        }
        event += size;
    }
    return plan;
}

InjectionPlan PlanInjection(StepKind kind, unsigned vk) {
    InjectionPlan plan = {};
    const auto key = static_cast<unsigned short>(vk);
    const KeyEvent down = {key, false};
    const KeyEvent up = {key, true};
    // Each tap goes to the system in one call, so no other input can fall
    // between its two halves; the keys wrapped around a tap go in calls of
    // their own.
    switch (kind) {
    case StepKind::Down:
        AddCall(plan, {down});
        break;
    case StepKind::Up:
        AddCall(plan, {up});
        break;
    case StepKind::Tap:
    case StepKind::TypedKey:
        AddCall(plan, {down, up});
        break;
    case StepKind::Shifted:
        AddCall(plan, {{VkShift, false}});
        AddCall(plan, {down, up});
        AddCall(plan, {{VkShift, true}});
        break;
    case StepKind::CapsLocked:
        AddCall(plan, {{VkCapital, false}, {VkCapital, true}});
        AddCall(plan, {down, up});
        AddCall(plan, {{VkCapital, false}, {VkCapital, true}});
        break;
    case StepKind::AltGr:
        AddCall(plan, {{VkRMenu, false}});
        AddCall(plan, {down, up});
        AddCall(plan, {{VkRMenu, true}});
        break;
    }
    return plan;
}

void SendKeys(const KeySequence& sequence, unsigned typedKey) {
    for (int i = 0; i < sequence.count; i++) {
        const Step& step = sequence.steps[i];
        const int vk = step.vk;
        switch (step.kind) {
        case StepKind::Tap:
            TapKey(vk);
            break;
        case StepKind::Shifted:
            TapShifted(vk);
            break;
        case StepKind::CapsLocked:
            TapCapsLocked(vk);
            break;
        case StepKind::AltGr:
            TapAltGr(vk);
            break;
        case StepKind::Down:
            KeyDown(vk);
            break;
        case StepKind::Up:
            KeyUp(vk);
            break;
        case StepKind::TypedKey:
            TapKey(static_cast<int>(typedKey));
            break;
        }
    }
}
