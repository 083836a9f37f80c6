// The hook and the converter on random event streams: the user's key-downs
// and key-ups with every flag, keys injected by other programs, clicks on
// the icon, switches to windows with other layouts or that drop our keys,
// in both replay orders. After every event the checks below must hold.
//
// Input: one byte of set-up (bit 0: replay nested as Wine does, else after
// the hook as Windows does; the rest: the application's layout), then events
// of three bytes: kind, key, flags.
//   kind 0xF0 and up: not a key (low bits 0-5 the icon click, 6-9 another
//     window that drops injected keys or back, 10-15 another layout, the
//     key byte choosing it);
//   otherwise bit 0 key-up, bit 1 WM_SYSKEY*, bit 2 the key byte is the
//     virtual key itself (else an index into the keys that matter), bit 3
//     the flags byte is the event's flags (else none but the key-up flag).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>

#include "engine_state.h"
#include "hook.h"
#include "inject.h"
#include "keys.h"
#include "rules.h"
#include "simulator.h"

namespace {

constexpr unsigned KeysThatMatter[] = {
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R', 'S', 'T', 'U',
    'V', 'W', 'X', 'Y', 'Z', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', VkSpace, VkOemPlus,
    VkOemComma, VkOemMinus, VkOemPeriod, VkOem1, VkOem2, VkOem3, VkOem4, VkOem5, VkOem6, VkOem7,
    VkShift, VkLShift, VkRShift, VkLShift, VkRShift, VkControl, VkLControl, VkRControl, VkMenu,
    VkLMenu, VkRMenu, VkCapital, VkBack, VkReturn, VkTab, VkEscape, VkLeft, VkHome, VkDelete,
    VkNumpad0, VkF1, VkPacket,
};
constexpr std::size_t KeyCount = sizeof KeysThatMatter / sizeof KeysThatMatter[0];

unsigned long long EngineEvents = 0;
unsigned long long Inputs = 0;

void PrintCount() {
    std::printf("engine events: %llu in %llu inputs\n", EngineEvents, Inputs);
}

// A table's output as a string of (kind, key) pairs; "typed key" as a kind
// of its own.
std::string Encode(const Step* steps, int count) {
    std::string text;
    for (int i = 0; i < count; i++) {
        text += static_cast<char>(steps[i].kind);
        text += static_cast<char>(steps[i].vk);
    }
    return text;
}

std::unordered_set<std::string>& TableOutputs() {
    static std::unordered_set<std::string> outputs;
    return outputs;
}

void AddOutput(const KeySequence& output, void*) {
    TableOutputs().insert(Encode(output.steps, output.count));
}

[[noreturn]] void Fail(const char* what, std::size_t event) {
    std::fprintf(stderr, "engine check failed at event %zu: %s\n", event, what);
    std::abort();
}

bool IsTableOutput(const std::vector<Step>& steps, std::size_t first, unsigned typedKey) {
    const std::string text = Encode(steps.data() + first, static_cast<int>(steps.size() - first));
    if (TableOutputs().count(text) != 0) {
        return true;
    }
    // The "typed key" row, tapped as the very key received.
    const Step typed = {StepKind::Tap, static_cast<unsigned char>(typedKey)};
    return steps.size() - first == 1 && steps[first].kind == typed.kind && steps[first].vk == typed.vk;
}

bool IsRelease(const Step& step) {
    return step.kind == StepKind::Up && step.vk == VkLShift;
}

int BackspacesIn(const std::vector<Step>& steps) {
    int count = 0;
    for (const Step& step : steps) {
        count += step.kind == StepKind::Tap && step.vk == VkBack ? 1 : 0;
    }
    return count;
}

void CheckBuffer(std::size_t event) {
    if (Engine.SyllableLength > SyllableCapacity) {
        Fail("the syllable holds more than 30 characters", event);
    }
    for (std::size_t i = Engine.SyllableLength; i < sizeof Engine.SyllableBuffer; i++) {
        if (Engine.SyllableBuffer[i] != 0) {
            Fail("the buffer is not zero beyond its length", event);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    VisitDispatchOutputs(AddOutput, nullptr);
    VisitStackedOutputs(AddOutput, nullptr);
    VisitSecondKeyOutputs(AddOutput, nullptr);
    VisitClusterOutputs(AddOutput, nullptr);
    std::atexit(PrintCount);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    Inputs++;
    const AppLayout layouts[] = {AppLayout::Tibetan, AppLayout::Dzongkha, AppLayout::Us};
    ResetSimulation(data[0] & 1 ? Replay::Nested : Replay::AfterHook, layouts[(data[0] >> 1) % 3]);
    for (std::size_t at = 1, event = 0; at + 3 <= size; at += 3, event++) {
        const unsigned kind = data[at];
        const unsigned key = data[at + 1];
        const unsigned flagsByte = data[at + 2];
        if (kind >= 0xF0) {
            const unsigned op = kind & 0x0F;
            const int resets = static_cast<int>(SyllableResets);
            if (op < 6) {
                FlipMode();  // a click on the notification icon
                if (static_cast<int>(SyllableResets) == resets || Engine.SyllableLength != 0) {
                    Fail("a mode flip did not empty the syllable", event);
                }
            } else if (op < 10) {
                Sim.targetDropsInjection = !Sim.targetDropsInjection;
            } else {
                Sim.layout = layouts[key % 3];
            }
            CheckBuffer(event);
            continue;
        }
        const bool up = (kind & 1) != 0;
        const bool sys = (kind & 2) != 0;
        const unsigned vk = kind & 4 ? key : KeysThatMatter[key % KeyCount];
        const unsigned flags = kind & 8 ? flagsByte : (up ? FlagUp : 0u);
        const unsigned message = up ? (sys ? MsgSysKeyUp : MsgKeyUp) : (sys ? MsgSysKeyDown : MsgKeyDown);
        const bool users = (flags & FlagInjected) == 0;

        const EngineState before = Engine;
        const ShiftHold shiftBefore = HeldShift;
        const unsigned long resets = SyllableResets;
        const std::size_t calls = Sim.sendInputCalls.size();
        const HookAnswer answer = FeedUserKey({vk, up, message, flags, 0});
        EngineEvents++;

        CheckBuffer(event);
        if (before.AfterVowel && !Engine.AfterVowel && SyllableResets == resets) {
            Fail("AfterVowel was cleared without a reset", event);
        }
        if (Sim.replayChanges != 0) {
            Fail("replaying injected events changed the state beyond Shift and Ctrl", event);
        }
        if (BackspacesIn(Sim.lastSteps) > 1) {
            Fail("an output sends more than one BS", event);
        }
        const std::vector<Step>& steps = Sim.lastSteps;
        if (!users && !steps.empty()) {
            Fail("another program's key made the engine inject", event);
        }
        if (users && !up) {
            // A key-down's output comes from a table, after the release of
            // a Shift that the engine left down while the user held none.
            const bool release = shiftBefore.engineLeft && !shiftBefore.userLeft && !shiftBefore.userRight &&
                                 !Sim.targetDropsInjection;
            std::size_t first = 0;
            if (release) {
                if (steps.empty() || !IsRelease(steps[0])) {
                    Fail("the engine's Shift was not released before a key", event);
                }
                first = 1;
            }
            if (steps.size() > first && !IsTableOutput(steps, first, vk)) {
                Fail("an output that is no table's", event);
            }
        }
        if (users && up && !steps.empty() && !(steps.size() == 1 && IsRelease(steps[0]))) {
            Fail("a key-up made the engine inject something other than its Shift's release", event);
        }
        if (answer == HookAnswer::Swallow && (up || !users)) {
            Fail("a key-up or an injected key was swallowed", event);
        }
        if (Sim.targetDropsInjection) {
            if (Sim.sendInputCalls.size() != calls) {
                Fail("keys were injected where they are dropped", event);
            }
            if (answer == HookAnswer::Swallow && vk != VkCapital) {
                Fail("a key was swallowed where its replacement is dropped", event);
            }
        } else if (users && !ModifiersLeftByEngine().empty()) {
            std::fprintf(stderr, "held down by the engine: %s\n", ModifiersLeftByEngine().c_str());
            Fail("the engine left a modifier down", event);
        }
    }
    return 0;
}
