#include "inject.h"

#include <initializer_list>

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

}  // namespace

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
