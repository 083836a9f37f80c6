// The autohide timer's elapse: seconds to milliseconds without wrapping round.

#include <gtest/gtest.h>

#include "autohide.h"

namespace {

struct ElapseCase {
    unsigned seconds;
    unsigned milliseconds;
};

TEST(AutoHideElapse, SecondsBecomeMillisecondsUpToTheTimersLimit) {
    const ElapseCase cases[] = {
        {1, 1000},
        {5, 5000},  // the default delay
        {30, 30000},
        {2147483, 2147483000u},  // the last whole second below the limit
        {2147484, LargestTimerElapse},
        // 4294968 * 1000 wraps to 704 in 32 bits: a long delay must not
        // become a blink.
        {4294968, LargestTimerElapse},
        {4294967295u, LargestTimerElapse},
    };
    for (const ElapseCase& c : cases) {
        EXPECT_EQ(AutoHideElapse(c.seconds), c.milliseconds) << c.seconds << " s";
    }
}

}  // namespace
