// Keys pass to a window whose process the system protects from ours, and
// the foreground's integrity is asked once per foreground, not per key.

#include <gtest/gtest.h>

#include <string>

#include "engine_state.h"
#include "target_integrity.h"
#include "test_support.h"

namespace {

constexpr unsigned long Medium = 0x2000;
constexpr unsigned long High = 0x3000;
constexpr unsigned long System = 0x4000;

TEST(TargetIntegrity, Decision) {
    struct Case {
        const char* what;
        Integrity ours;
        Integrity target;
        bool pass;
    };
    const Integrity unknown = {IntegrityAnswer::Unknown, 0};
    const Integrity denied = {IntegrityAnswer::AccessDenied, 0};
    const Case cases[] = {
        {"same level", {IntegrityAnswer::Known, Medium}, {IntegrityAnswer::Known, Medium}, false},
        {"an elevated target", {IntegrityAnswer::Known, Medium}, {IntegrityAnswer::Known, High}, true},
        {"a system process", {IntegrityAnswer::Known, Medium}, {IntegrityAnswer::Known, System}, true},
        {"a lower target", {IntegrityAnswer::Known, High}, {IntegrityAnswer::Known, Medium}, false},
        {"we are elevated too", {IntegrityAnswer::Known, High}, {IntegrityAnswer::Known, High}, false},
        {"the system would not tell", {IntegrityAnswer::Known, Medium}, denied, true},
        {"the process is gone", {IntegrityAnswer::Known, Medium}, unknown, false},
        {"no integrity levels (XP): never", unknown, {IntegrityAnswer::Known, High}, false},
        {"no integrity levels, access denied", unknown, denied, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeysMustPass(c.ours, c.target), c.pass) << c.what;
    }
}

int Queries = 0;
Integrity ElevatedIfOdd(unsigned long processId) {
    Queries++;
    return {IntegrityAnswer::Known, processId % 2 ? High : Medium};
}

TEST(TargetIntegrity, AskedOncePerForeground) {
    const Integrity ours = {IntegrityAnswer::Known, Medium};
    ForegroundIntegrity cache;
    Queries = 0;
    int a;
    int b;
    for (int key = 0; key < 100; key++) {
        EXPECT_FALSE(FollowForeground(cache, &a, 10, ours, ElevatedIfOdd));
    }
    EXPECT_EQ(Queries, 1);
    EXPECT_TRUE(FollowForeground(cache, &b, 11, ours, ElevatedIfOdd));
    EXPECT_TRUE(FollowForeground(cache, &b, 11, ours, ElevatedIfOdd));
    EXPECT_EQ(Queries, 2);
    // Another window of the same process, and a process id used again by a
    // new process with a window of its own: asked again.
    EXPECT_TRUE(FollowForeground(cache, &a, 11, ours, ElevatedIfOdd));
    EXPECT_FALSE(FollowForeground(cache, &a, 10, ours, ElevatedIfOdd));
    EXPECT_EQ(Queries, 4);
    // No foreground window: nothing to ask.
    EXPECT_FALSE(FollowForeground(cache, nullptr, 0, ours, ElevatedIfOdd));
    EXPECT_EQ(Queries, 4);
    // Without integrity levels of our own the system has none: never asked.
    ForegroundIntegrity xp;
    EXPECT_FALSE(FollowForeground(xp, &b, 11, {IntegrityAnswer::Unknown, 0}, ElevatedIfOdd));
    EXPECT_EQ(Queries, 4);
}

// A foreground that refused our keys without its level showing it: the keys
// pass to it from then on, and a new foreground is judged afresh.
TEST(TargetIntegrity, RefusedInjectionPassesLaterKeys) {
    const Integrity ours = {IntegrityAnswer::Known, Medium};
    ForegroundIntegrity cache;
    Queries = 0;
    int a = 0;
    int b = 0;
    EXPECT_FALSE(FollowForeground(cache, &a, 10, ours, ElevatedIfOdd));
    InjectionRefused(cache);
    EXPECT_TRUE(FollowForeground(cache, &a, 10, ours, ElevatedIfOdd));
    EXPECT_EQ(Queries, 1);
    EXPECT_FALSE(FollowForeground(cache, &b, 12, ours, ElevatedIfOdd));
    // No foreground window (keys went to no one's) and nothing asked yet:
    // nothing to remember.
    EXPECT_FALSE(FollowForeground(cache, nullptr, 0, ours, ElevatedIfOdd));
    InjectionRefused(cache);
    EXPECT_FALSE(FollowForeground(cache, nullptr, 0, ours, ElevatedIfOdd));
    ForegroundIntegrity fresh;
    InjectionRefused(fresh);
    EXPECT_FALSE(FollowForeground(fresh, &a, 10, ours, ElevatedIfOdd));
}

// The hook's side: a window that drops injected keys gets the user's keys
// untouched, and the syllable starts anew.
TEST(TargetIntegrity, KeysPassToAWindowThatDropsOurs) {
    ResetSimulation();
    Type("bk");
    ASSERT_EQ(Buffer(), "bk");
    const std::size_t calls = Sim.sendInputCalls.size();
    Sim.targetDropsInjection = true;
    Type("h{LSHIFT down}a{LSHIFT up}{BS}1 /");
    for (std::size_t i = 2; i < Sim.trace.size(); i++) {
        EXPECT_NE(Sim.trace[i].answer, HookAnswer::Swallow) << KeyName(Sim.trace[i].vk);
    }
    EXPECT_EQ(Sim.sendInputCalls.size(), calls) << "nothing is injected";
    EXPECT_EQ(Buffer(), "");
    EXPECT_EQ(Engine.AfterVowel, 0);
    // CapsLock still switches the mode, and is swallowed as ever.
    Type("{CAPS}");
    EXPECT_EQ(Sim.trace.back().answer, HookAnswer::Swallow);
    EXPECT_EQ(Engine.EwtsMode, 0);
    Type("{CAPS}");
    // Back in a window that takes our keys: a new syllable.
    Sim.targetDropsInjection = false;
    Type("h");
    EXPECT_EQ(LastOutput(), "VK_OEM_PERIOD");
    EXPECT_EQ(Buffer(), "h");
}

TEST(TargetIntegrity, ModifiersAreStillFollowed) {
    ResetSimulation();
    Sim.targetDropsInjection = true;
    Type("{LSHIFT down}{LCTRL down}");
    EXPECT_EQ(Engine.ShiftDown, 1);
    EXPECT_EQ(Engine.CtrlDown, 1);
    Type("{LCTRL up}");
    Sim.targetDropsInjection = false;
    Type("k{LSHIFT up}");
    EXPECT_EQ(Buffer(), "K");
}

}  // namespace
