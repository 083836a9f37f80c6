// The hook's decisions: the mode and its message, modifier tracking, and
// what passes untouched.

#include <gtest/gtest.h>

#include "engine_state.h"
#include "hook.h"
#include "keys.h"
#include "test_support.h"

namespace {

TEST(Mode, FlipSendsTheNewModeBeforeSwitching) {
    ResetSimulation();
    FlipMode();
    ASSERT_EQ(Sim.modeMessages.size(), 1u);
    EXPECT_EQ(Sim.modeMessages[0].newMode, 0);
    EXPECT_EQ(Sim.modeMessages[0].modeWhenSent, 1);
    EXPECT_EQ(Engine.EwtsMode, 0);

    FlipMode();
    ASSERT_EQ(Sim.modeMessages.size(), 2u);
    EXPECT_EQ(Sim.modeMessages[1].newMode, 1);
    EXPECT_EQ(Sim.modeMessages[1].modeWhenSent, 0);
    EXPECT_EQ(Engine.EwtsMode, 1);
}

TEST(Mode, FlipEmptiesTheSyllable) {
    ResetSimulation();
    Type("ka");
    ASSERT_EQ(Buffer(), "ka");
    ASSERT_EQ(Engine.AfterVowel, 1);
    FlipMode();
    EXPECT_EQ(Engine.SyllableLength, 0u);
    EXPECT_EQ(Engine.AfterVowel, 0);
    EXPECT_EQ(std::string(Engine.SyllableBuffer, sizeof Engine.SyllableBuffer), std::string(32, '\0'));
}

TEST(Mode, CapsLockFlipsAndIsSwallowedInBothModes) {
    ResetSimulation();
    Type("{CAPS}");
    EXPECT_EQ(Engine.EwtsMode, 0);
    Type("{CAPS}");
    EXPECT_EQ(Engine.EwtsMode, 1);
    ASSERT_EQ(Sim.modeMessages.size(), 2u);
    for (const AppKeyEvent& event : Sim.arrivals) {
        EXPECT_FALSE(event.vk == VkCapital && !event.up) << "a CapsLock key-down reached the application";
    }
}

TEST(Mode, InjectedCapsLockNeverFlips) {
    ResetSimulation();
    Type("*");  // its output toggles CapsLock twice with injected taps
    EXPECT_EQ(Engine.EwtsMode, 1);
    EXPECT_TRUE(Sim.modeMessages.empty());
}

TEST(Mode, EnglishModePassesEveryKeyButCapsLock) {
    ResetSimulation();
    Type("{CAPS}");
    const std::string keys = "kh1 .,;'{BS}{TAB}{ENTER}ABC";
    Type(keys);
    for (std::size_t i = 1; i < Sim.trace.size(); i++) {
        EXPECT_NE(Sim.trace[i].answer, HookAnswer::Swallow) << KeyName(Sim.trace[i].vk);
        EXPECT_TRUE(Sim.trace[i].steps.empty());
    }
    EXPECT_EQ(Engine.SyllableLength, 0u);
}

TEST(Modifiers, ShiftTracking) {
    struct Case {
        const char* what;
        unsigned message;
        unsigned vk;
        unsigned flags;
        int shiftBefore;
        int shiftAfter;
    };
    const Case cases[] = {
        {"user left Shift down", MsgKeyDown, VkLShift, 0, 0, 1},
        {"user right Shift down", MsgKeyDown, VkRShift, 0, 0, 1},
        {"injected VK_LSHIFT down", MsgKeyDown, VkLShift, FlagInjected, 0, 1},
        {"injected VK_SHIFT down does not count", MsgKeyDown, VkShift, FlagInjected, 0, 0},
        {"injected VK_SHIFT up clears a held Shift", MsgKeyUp, VkShift, FlagInjected | FlagUp, 1, 0},
        {"injected VK_LSHIFT up", MsgKeyUp, VkLShift, FlagInjected | FlagUp, 1, 0},
        {"user right Shift up", MsgKeyUp, VkRShift, FlagUp, 1, 0},
        {"an Alt key-up changes nothing", MsgSysKeyUp, VkLMenu, FlagUp, 1, 1},
    };
    for (const Case& c : cases) {
        ResetSimulation();
        Engine.ShiftDown = c.shiftBefore;
        EXPECT_EQ(HandleKeyEvent(c.message, c.vk, c.flags), HookAnswer::CallNext) << c.what;
        EXPECT_EQ(Engine.ShiftDown, c.shiftAfter) << c.what;
    }
}

TEST(Modifiers, CtrlTracking) {
    ResetSimulation();
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, VkLControl, 0), HookAnswer::CallNext);
    EXPECT_EQ(Engine.CtrlDown, 1);
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, 'K', 0), HookAnswer::CallNext);
    EXPECT_EQ(Engine.SyllableLength, 0u);
    // The right Ctrl is extended: its key-down passes before it is counted,
    // but any Ctrl key-up clears the flag.
    EXPECT_EQ(HandleKeyEvent(MsgKeyUp, VkRControl, FlagExtended | FlagUp), HookAnswer::CallNext);
    EXPECT_EQ(Engine.CtrlDown, 0);
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, VkRControl, FlagExtended), HookAnswer::CallNext);
    EXPECT_EQ(Engine.CtrlDown, 0);
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, 'K', 0), HookAnswer::Swallow);
}

TEST(Modifiers, AnyFlagBitPassesTheKeyUntouched) {
    const unsigned flags[] = {FlagExtended, FlagInjected, FlagAltDown, 0x02, 0x40};
    for (unsigned flag : flags) {
        ResetSimulation();
        EXPECT_EQ(HandleKeyEvent(MsgKeyDown, 'K', flag), HookAnswer::CallNext) << flag;
        EXPECT_EQ(HandleKeyEvent(MsgKeyDown, VkCapital, flag), HookAnswer::CallNext) << flag;
        EXPECT_EQ(Engine.SyllableLength, 0u);
        EXPECT_EQ(Engine.EwtsMode, 1);
        EXPECT_TRUE(Sim.sendInputCalls.empty());
    }
}

TEST(Modifiers, KeyUpsAlwaysPass) {
    ResetSimulation();
    EXPECT_EQ(HandleKeyEvent(MsgKeyUp, 'K', FlagUp), HookAnswer::CallNext);
    EXPECT_EQ(HandleKeyEvent(MsgKeyUp, VkCapital, FlagUp), HookAnswer::CallNext);
    EXPECT_EQ(Engine.EwtsMode, 1);
    EXPECT_TRUE(Sim.sendInputCalls.empty());
}

TEST(Modifiers, ConverterAnswersWithoutCallingTheNextHook) {
    ResetSimulation();
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, 'K', 0), HookAnswer::Swallow);
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, VkReturn, 0), HookAnswer::Pass);
    EXPECT_EQ(HandleKeyEvent(MsgKeyDown, VkBack, 0), HookAnswer::Pass);
}

// The swallowed key-down never reaches the application; its key-up does,
// after the injected replacement.
TEST(Arrivals, SwallowedKeyIsReplacedByItsOutput) {
    ResetSimulation();
    Type("k");
    std::string seen;
    for (const AppKeyEvent& event : Sim.arrivals) {
        seen += (event.up ? "up " : "down ") + KeyName(event.vk) + (event.injected ? "*" : "") + "; ";
    }
    EXPECT_EQ(seen, "down Q*; up Q*; up K; ");
}

TEST(Arrivals, NestedAndDeferredReplayDeliverTheSameKeys) {
    const std::string keys = "bsgrubs k+Sh {LSHIFT down}II::{LSHIFT up}*&Q MT brgyad";
    ResetSimulation(Replay::AfterHook);
    Type(keys);
    const std::vector<AppKeyEvent> deferred = Sim.arrivals;
    ResetSimulation(Replay::Nested);
    Type(keys);
    ASSERT_EQ(Sim.arrivals.size(), deferred.size());
    for (std::size_t i = 0; i < deferred.size(); i++) {
        EXPECT_EQ(Sim.arrivals[i].vk, deferred[i].vk) << i;
        EXPECT_EQ(Sim.arrivals[i].up, deferred[i].up) << i;
    }
}

// After every event of the user's, no modifier is down in the application
// that the user does not hold, whichever Shift the user held: the Shift that
// a row presses to give the user's Shift back was left down for good when
// the user held the right one.
TEST(Modifiers, TheEngineLeavesNoModifierDown) {
    // Keys typed under the right Shift alone: ; 8 d i m s shifted.
    const char* cases[] = {
        "{RSHIFT down};{RSHIFT up}k",
        "{RSHIFT down}8{RSHIFT up}",
        "{RSHIFT down}d{RSHIFT up}ka",
        "{RSHIFT down}i{RSHIFT up}",
        "{RSHIFT down};;m{RSHIFT up}",
        "{RSHIFT down}k{RSHIFT up}+{RSHIFT down}s{RSHIFT up}",
        "{LSHIFT down}{RSHIFT down};{LSHIFT up}k{RSHIFT up}",
        "{RSHIFT down};{LSHIFT down}{RSHIFT up};{LSHIFT up}",
        "{LSHIFT down};q{LSHIFT up}",
        "{LSHIFT down}7{LSHIFT up}",
        "{ALT down}:{ALT up}{LCTRL down}:{LCTRL up}",
    };
    for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
        for (const char* keys : cases) {
            ResetSimulation(replay);
            const KeystrokeParse parse = ParseKeystrokes(keys);
            ASSERT_TRUE(parse.error.empty()) << keys;
            for (const UserKey& key : parse.keys) {
                FeedUserKey(key);
                EXPECT_EQ(ModifiersLeftByEngine(), "") << keys << " at " << key.position;
            }
        }
    }
}

TEST(Modifiers, ReleasesItsShiftWithTheUsersLast) {
    ResetSimulation();
    Type("{RSHIFT down};");
    EXPECT_EQ(LastOutput(), "up VK_LSHIFT, Caps+V, down VK_LSHIFT");
    EXPECT_EQ(Engine.ShiftDown, 1);
    Type("{RSHIFT up}");
    EXPECT_EQ(FormatSteps(Sim.lastSteps), "up VK_LSHIFT");
    EXPECT_EQ(Engine.ShiftDown, 0);
    // Holding the left Shift itself, the user's own key-up releases it.
    ResetSimulation();
    Type("{LSHIFT down}:{LSHIFT up}");
    EXPECT_EQ(FormatSteps(Sim.lastSteps), "nothing");
}

// A Shift let go of in a window that drops our keys is released at the
// first key back where they arrive, before that key's own output.
TEST(Modifiers, ReleasedOnceTheKeysArriveAgain) {
    ResetSimulation();
    Type("{RSHIFT down};");
    Sim.targetDropsInjection = true;
    Type("{RSHIFT up}");
    EXPECT_EQ(ModifiersLeftByEngine(), "Shift");
    Sim.targetDropsInjection = false;
    Type("k");
    EXPECT_EQ(Sim.trace.back().answer, HookAnswer::Swallow);
    EXPECT_EQ(LastOutput(), "up VK_LSHIFT, Q");
    EXPECT_EQ(ModifiersLeftByEngine(), "");
}

TEST(Replay, InjectedEventsChangeOnlyShiftAndCtrl) {
    for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
        ResetSimulation(replay);
        Type("bsgrubs k+Sh {LSHIFT down}II::{LSHIFT up}*&Q MT brgyad {RSHIFT down};d{RSHIFT up}");
        EXPECT_FALSE(Sim.sendInputCalls.empty());
        EXPECT_EQ(Sim.replayChanges, 0);
    }
}

}  // namespace
