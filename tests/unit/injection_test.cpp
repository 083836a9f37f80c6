// The SendInput calls behind each primitive, and the steps' notation.

#include <gtest/gtest.h>

#include "inject.h"
#include "keys.h"
#include "test_support.h"

namespace {

std::string Describe(const InjectionPlan& plan) {
    std::string text;
    const KeyEvent* event = plan.events;
    for (int call = 0; call < plan.callCount; call++) {
        text += "[";
        for (int i = 0; i < plan.callSizes[call]; i++, event++) {
            text += (i ? " " : "") + std::string(event->up ? "up " : "down ") + KeyName(event->vk);
        }
        text += "]";
    }
    return text;
}

TEST(Injection, CallsAndRecordsOfEachPrimitive) {
    struct Case {
        StepKind kind;
        const char* calls;
    };
    const Case cases[] = {
        {StepKind::Down, "[down K]"},
        {StepKind::Up, "[up K]"},
        {StepKind::Tap, "[down K up K]"},
        {StepKind::Shifted, "[down VK_SHIFT][down K up K][up VK_SHIFT]"},
        {StepKind::CapsLocked, "[down VK_CAPITAL up VK_CAPITAL][down K up K][down VK_CAPITAL up VK_CAPITAL]"},
        {StepKind::AltGr, "[down VK_RMENU][down K up K][up VK_RMENU]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(PlanInjection(c.kind, 'K')), c.calls);
    }
}

// Every output of the engine leaves the system's CapsLock as it found it:
// each injected CapsLock toggle is undone within the same step.
TEST(Injection, CapsLockStateIsRestoredAfterEveryOutput) {
    ResetSimulation();
    Type("*M:DNRST+TDNSRWY Q {LSHIFT down}{F1}{LSHIFT up}vf");
    int capsDowns = 0;
    for (const auto& call : Sim.sendInputCalls) {
        for (const KeyEvent& event : call) {
            capsDowns += (event.vk == VkCapital && !event.up) ? 1 : 0;
        }
    }
    EXPECT_GT(capsDowns, 0);
    EXPECT_EQ(capsDowns % 2, 0);
}

TEST(Injection, RecordsNeverCarryMoreThanTwoEvents) {
    ResetSimulation();
    Type("bsgrubs k+Sh mtsh brdz");
    ASSERT_FALSE(Sim.sendInputCalls.empty());
    for (const auto& call : Sim.sendInputCalls) {
        EXPECT_GE(call.size(), 1u);
        EXPECT_LE(call.size(), 2u);
    }
}

TEST(Notation, TablesAndTraceSpellStepsAlike) {
    const char* sequences[] = {
        "BS, Shift+R",
        "up VK_LSHIFT, Caps+M, down VK_LSHIFT",
        "down VK_SHIFT, Caps+R, up VK_SHIFT",
        "AltGr+C",
        "VK_OEM_2, T",
        "H, Caps+L",
        "BS, down VK_SHIFT, Caps+S, up VK_SHIFT",
        "nothing",
    };
    for (const char* text : sequences) {
        const KeySequence sequence = Keys(text);
        std::vector<Step> steps(sequence.steps, sequence.steps + sequence.count);
        EXPECT_EQ(FormatSteps(steps), text);
    }
}

}  // namespace
