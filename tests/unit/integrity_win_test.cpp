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

// Another process started by ours, as the receiving window of the
// end-to-end tests is: it gets our keys.
TEST(IntegrityOnWindows, AnotherProcessOfOursGetsOurKeys) {
    StartIntegrityChecks();
    wchar_t path[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                               &child));
    const Integrity theirs = QueryProcessIntegrity(child.dwProcessId);
    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_NE(theirs.answer, IntegrityAnswer::AccessDenied);
    EXPECT_FALSE(KeysMustPass(OurIntegrity(), theirs));
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
