// The integrity query as the system answers it (Windows builds only; under
// Wine in the second tier). A process of our own level gets our keys; a
// process that does not exist is no reason to let keys pass.

#include <gtest/gtest.h>

#include <windows.h>

#include "target_integrity_win.h"

namespace {

TEST(IntegrityOnWindows, OurOwnProcessGetsOurKeys) {
    StartIntegrityChecks();
    const Integrity ours = OurIntegrity();
    const Integrity again = QueryProcessIntegrity(GetCurrentProcessId());
    if (ours.answer == IntegrityAnswer::Known) {
        EXPECT_EQ(again.answer, IntegrityAnswer::Known);
        EXPECT_EQ(again.level, ours.level);
    }
    EXPECT_FALSE(KeysMustPass(ours, again));
}

TEST(IntegrityOnWindows, NoProcessIsNoReasonToPass) {
    StartIntegrityChecks();
    // Process ids are multiples of 4: this one never exists.
    const Integrity none = QueryProcessIntegrity(0xFFFFFFF3ul);
    EXPECT_NE(none.answer, IntegrityAnswer::Known);
    EXPECT_NE(none.answer, IntegrityAnswer::AccessDenied);
    EXPECT_FALSE(KeysMustPass(OurIntegrity(), none));
}

}  // namespace
