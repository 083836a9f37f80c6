// The watchdog's decision: when the system has seen input that the keyboard
// hook did not, the hook is gone and is installed again.

#include <gtest/gtest.h>

#include "hook_watchdog.h"

namespace {

TEST(Watchdog, TickDifferenceAcrossTheWrap) {
    EXPECT_EQ(TickDifference(100, 350), 250);
    EXPECT_EQ(TickDifference(350, 100), -250);
    EXPECT_EQ(TickDifference(0xFFFFFF00u, 0x00000100u), 0x200);
    EXPECT_EQ(TickDifference(0x00000100u, 0xFFFFFF00u), -0x200);
    EXPECT_EQ(TickDifference(0, 0x7FFFFFFFu), 0x7FFFFFFFll);
    EXPECT_EQ(TickDifference(0, 0x80000000u), -0x80000000ll);
}

TEST(Watchdog, Decision) {
    struct Case {
        const char* what;
        unsigned hook;
        unsigned input;
        unsigned now;
        bool reinstall;
    };
    const unsigned wrap = 0xFFFFFFFFu;  // the tick before the counter wraps to 0
    const Case cases[] = {
        {"the hook saw the last input", 5000, 5000, 9000, false},
        {"the hook is called after the system counts the event", 5003, 5000, 9000, false},
        {"nothing typed for a long time", 5000, 4000, 900000, false},
        {"input the hook missed, settled", 5000, 6000, 6000 + HookSettleMs, true},
        {"input the hook missed, long ago", 5000, 6000, 60000, true},
        {"input just now may still be on its way", 5500, 6000, 6000 + HookSettleMs - 1, false},
        {"missed input keeps coming, the hook silent too long", 5000, 4980 + HookPatienceMs, 5000 + HookPatienceMs, true},
        {"missed input keeps coming, the hook heard lately", 5000, 5300, 5300, false},
        {"the input tick read a moment after now", 5500, 6001, 6000, false},
        {"across the wrap: the hook saw it", wrap - 10, wrap - 10, 500, false},
        {"across the wrap: missed before the wrap", wrap - 500, wrap - 200, 300, true},
        {"across the wrap: missed after the wrap", wrap - 100, 50, 50 + HookSettleMs, true},
        {"across the wrap: missed, not settled", wrap - 100, 50, 60, false},
        {"across the wrap: the hook later than the input", 20, wrap - 5, 400, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HookNeedsReinstall(c.hook, c.input, c.now), c.reinstall) << c.what;
    }
}

// The timer asks every HookCheckPeriodMs. However the user types after the
// system removed the hook, the hook is back within 2 s of the first key it
// missed, and a live hook is never reinstalled while its keys keep coming.
TEST(Watchdog, BackWithinTwoSecondsOfTheFirstMissedKey) {
    const unsigned gaps[] = {1, 30, 90, 150, 400, 700, 1500};  // ms between keys
    const unsigned starts[] = {0, 0xFFFFFFFFu - 1200, 0x7FFFFF00u};
    for (unsigned start : starts) {
        for (unsigned gap : gaps) {
            for (unsigned phase = 0; phase < HookCheckPeriodMs; phase += 37) {
                // The hook saw its last key at start; from start + 10 on the
                // user types every gap ms, and the hook sees none of it.
                const unsigned firstMissed = start + 10;
                unsigned reinstalledAt = 0;
                bool reinstalled = false;
                for (unsigned t = phase; t < 5000 && !reinstalled; t += HookCheckPeriodMs) {
                    const unsigned now = start + t;
                    if (TickDifference(firstMissed, now) < 0) {
                        EXPECT_FALSE(HookNeedsReinstall(start, start, now));
                        continue;
                    }
                    const unsigned typed = (now - firstMissed) / gap * gap;
                    if (HookNeedsReinstall(start, firstMissed + typed, now)) {
                        reinstalled = true;
                        reinstalledAt = now;
                    }
                }
                ASSERT_TRUE(reinstalled) << "gap " << gap << " phase " << phase;
                EXPECT_LE(TickDifference(firstMissed, reinstalledAt), 2000) << "gap " << gap << " phase " << phase;
            }
        }
    }
}

TEST(Watchdog, LiveHookWhileTyping) {
    // Keys every 40 ms, each seen by the hook a few ms after the system
    // counted it; the timer may fall between the two.
    for (unsigned now = 1000; now < 20000; now += 13) {
        const unsigned input = now / 40 * 40;
        const unsigned seenLag = 3;
        const unsigned hook = now - input >= seenLag ? input + seenLag : input - 40 + seenLag;
        EXPECT_FALSE(HookNeedsReinstall(hook, input, now)) << "at " << now;
    }
}

}  // namespace
