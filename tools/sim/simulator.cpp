#include "simulator.h"

#include <cstdio>
#include <cstring>
#include <deque>

#include "engine_state.h"
#include "keys.h"

Simulation Sim;

namespace {

// The user key-down being handled, whose output the primitives record.
TracedKey* CurrentKey = nullptr;
std::deque<KeyEvent> PendingInjected;

// The key whose state a key event moves: generic Shift, Ctrl and Alt are
// the left keys.
unsigned SideKey(unsigned vk) {
    switch (vk) {
    case VkShift:
        return VkLShift;
    case VkControl:
        return VkLControl;
    case VkMenu:
        return VkLMenu;
    default:
        return vk & 0xFF;
    }
}

void Deliver(unsigned vk, bool up, bool injected, HookAnswer answer, char16_t unit = 0) {
    if (answer == HookAnswer::Swallow) {
        return;
    }
    Sim.arrivalCount++;
    if (Sim.keepRecord) {
        Sim.arrivals.push_back({AppKey(vk), up, injected, vk, unit});
        Sim.appKeyDown[SideKey(vk)] = !up;
        if (injected && vk == VkCapital && !up) {
            Sim.injectedCapsLockTaps++;
        }
    }
}

bool SameStateButModifiers(const EngineState& a, const EngineState& b) {
    return a.EwtsMode == b.EwtsMode && a.MainWindow == b.MainWindow && a.SyllableLength == b.SyllableLength &&
           a.AfterVowel == b.AfterVowel &&
           std::memcmp(a.SyllableBuffer, b.SyllableBuffer, sizeof a.SyllableBuffer) == 0;
}

void ReplayInjected(const KeyEvent& event) {
    const unsigned message = event.up ? MsgKeyUp : MsgKeyDown;
    const unsigned flags = FlagInjected | (event.up ? FlagUp : 0u);
    // The system hands a character sent by itself to the hook as VK_PACKET.
    const unsigned vk = event.unit != 0 ? static_cast<unsigned>(VkPacket) : event.vk;
    const EngineState before = Engine;
    const HookAnswer answer = HandleKeyEvent(message, vk, flags);
    if (!SameStateButModifiers(before, Engine)) {
        Sim.replayChanges++;
    }
    Deliver(vk, event.up, true, answer, event.unit);
}

void Record(StepKind kind, int vk) {
    const Step step = {kind, static_cast<unsigned char>(vk)};
    if (CurrentKey != nullptr) {
        CurrentKey->steps.push_back(step);
    }
    Sim.lastSteps.push_back(step);
    const InjectionPlan plan = PlanOutput(kind, static_cast<unsigned>(vk));
    const KeyEvent* event = plan.events;
    for (int call = 0; call < plan.callCount; call++) {
        const KeyEvent* end = event + plan.callSizes[call];
        if (Sim.keepRecord) {
            Sim.sendInputCalls.emplace_back(event, end);
        }
        if (Sim.targetDropsInjection) {
            event = end;
            continue;  // the call fails, and nothing of it is seen
        }
        for (; event != end; event++) {
            if (Sim.replay == Replay::Nested) {
                ReplayInjected(*event);
            } else {
                PendingInjected.push_back(*event);
            }
        }
    }
}

// The layout's answer for a key in each keyboard state, worked out once and
// kept, as the library keeps what ToUnicodeEx answers.
struct KeptAnswer {
    bool known;
    LayoutAnswer answer;
};

constexpr int LayoutCount = 3;
constexpr int StateCount = 8;  // Shift, CapsLock and AltGr, each on or off
KeptAnswer KeptAnswers[LayoutCount][256][StateCount];

LayoutAnswer ModelAnswer(AppLayout layout, unsigned vk, const KeyboardView& view) {
    LayoutAnswer answer = {0, {}};
    for (char32_t c : AppLayoutText(layout, vk, view)) {
        if (answer.count == 4 || c >= 0x10000) {
            return {-1, {}};
        }
        answer.units[answer.count++] = static_cast<char16_t>(c);
    }
    return answer;
}

}  // namespace

// The platform's primitives, recorded.
void KeyDown(int vk) { Record(StepKind::Down, vk); }
void KeyUp(int vk) { Record(StepKind::Up, vk); }
void TapKey(int vk) { Record(StepKind::Tap, vk); }
void TapShifted(int vk) { Record(StepKind::Shifted, vk); }
void TapCapsLocked(int vk) { Record(StepKind::CapsLocked, vk); }
void TapAltGr(int vk) { Record(StepKind::AltGr, vk); }

void SendModeChanged(void* /*mainWindow*/, int newMode) {
    Sim.modeMessages.push_back({newMode, Engine.EwtsMode});
}

LayoutAnswer AskAppLayout(unsigned vk, const KeyboardView& view) {
    const int state = (view.shift ? 1 : 0) | (view.capsLock ? 2 : 0) | (view.altGr ? 4 : 0);
    KeptAnswer& kept = KeptAnswers[static_cast<int>(Sim.layout)][vk & 0xFF][state];
    if (!kept.known) {
        kept.answer = ModelAnswer(Sim.layout, vk & 0xFF, view);
        kept.known = true;
    }
    return kept.answer;
}

bool InjectionReachesTarget() {
    return !Sim.targetDropsInjection;
}

void ResetSimulation(Replay replay, AppLayout layout) {
    Engine = EngineState{};
    AppKeyboard = KeyboardView{};
    HeldShift = ShiftHold{};
    Sim = Simulation{};
    Sim.replay = replay;
    Sim.layout = layout;
    CurrentKey = nullptr;
    PendingInjected.clear();
}

HookAnswer FeedUserKey(const UserKey& key) {
    Sim.lastSteps.clear();
    bool* held = key.flags & FlagInjected ? Sim.otherKeyDown : Sim.userKeyDown;
    held[SideKey(key.vk)] = !key.up;
    if (!key.up && Sim.keepRecord) {
        Sim.trace.push_back({key.vk, HookAnswer::Pass, {}});
        CurrentKey = &Sim.trace.back();
    }
    const HookAnswer answer = HandleKeyEvent(key.message, key.vk, key.flags);
    if (!key.up && Sim.keepRecord) {
        Sim.trace.back().answer = answer;
    }
    CurrentKey = nullptr;
    // On Windows the events injected while the hook ran come back through it
    // after the hook has returned, and reach the application after the key
    // that caused them would have.
    Deliver(key.vk, key.up, false, answer);
    while (!PendingInjected.empty()) {
        const KeyEvent event = PendingInjected.front();
        PendingInjected.pop_front();
        ReplayInjected(event);
    }
    return answer;
}

void FeedUserKeys(const std::vector<UserKey>& keys) {
    for (const UserKey& key : keys) {
        FeedUserKey(key);
    }
}

std::string ModifiersLeftByEngine() {
    struct Modifier {
        const char* name;
        unsigned left;
        unsigned right;
    };
    constexpr Modifier modifiers[] = {
        {"Shift", VkLShift, VkRShift},
        {"Ctrl", VkLControl, VkRControl},
        {"Alt", VkLMenu, VkRMenu},
    };
    std::string left;
    // The application sees a modifier down while either of its keys is.
    for (const Modifier& m : modifiers) {
        const bool app = Sim.appKeyDown[m.left] || Sim.appKeyDown[m.right];
        const bool outside = Sim.userKeyDown[m.left] || Sim.userKeyDown[m.right] || Sim.otherKeyDown[m.left] ||
                             Sim.otherKeyDown[m.right];
        if (app && !outside) {
            left += left.empty() ? "" : " ";
            left += m.name;
        }
    }
    if (Sim.injectedCapsLockTaps % 2 != 0) {
        left += left.empty() ? "CapsLock" : " CapsLock";
    }
    return left;
}

std::string FormatStep(const Step& step) {
    const std::string key = KeyName(step.vk);
    switch (step.kind) {
    case StepKind::Tap:
    case StepKind::TypedKey:
        return step.vk == VkBack ? "BS" : key;
    case StepKind::Shifted:
        return "Shift+" + key;
    case StepKind::CapsLocked:
        return "Caps+" + key;
    case StepKind::AltGr:
        return "AltGr+" + key;
    case StepKind::Down:
        return "down " + key;
    case StepKind::Up:
        return "up " + key;
    }
    return key;
}

std::string FormatSteps(const std::vector<Step>& steps) {
    if (steps.empty()) {
        return "nothing";
    }
    std::string text;
    for (const Step& step : steps) {
        if (!text.empty()) {
            text += ", ";
        }
        text += FormatStep(step);
    }
    return text;
}

std::string FormatTrace(const std::vector<TracedKey>& trace) {
    std::string text;
    for (const TracedKey& key : trace) {
        text += KeyName(key.vk);
        text += key.answer == HookAnswer::Swallow ? "\tswallow\t" : "\tpass\t";
        text += FormatSteps(key.steps);
        text += '\n';
    }
    return text;
}

std::string FormatArrival(const AppKeyEvent& event) {
    std::string line = event.up ? "up " : "down ";
    if (event.vk == VkPacket) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(event.unit));
        return line + code;
    }
    return line + KeyName(event.vk);
}

unsigned AppKey(unsigned vk) {
    switch (vk) {
    case VkLShift:
    case VkRShift:
        return VkShift;
    case VkLControl:
    case VkRControl:
        return VkControl;
    case VkLMenu:
    case VkRMenu:
        return VkMenu;
    default:
        return vk;
    }
}
