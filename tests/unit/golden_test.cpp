// Every golden case, run through the hook's entry point with the injected
// events replayed both as Windows does (after the hook returns) and as Wine
// does (nested inside SendInput): the traces must not differ.

#include <gtest/gtest.h>

#include <cctype>

#include "golden.h"
#include "keystrokes.h"
#include "simulator.h"

namespace {

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, TraceMatches) {
    const GoldenCase& golden = GetParam();
    const KeystrokeParse parse = ParseKeystrokes(golden.keys);
    ASSERT_EQ(parse.error, "") << golden.where;
    for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
        ResetSimulation(replay);
        FeedUserKeys(parse.keys);
        EXPECT_EQ(FormatTrace(Sim.trace), golden.expected)
            << golden.where << " keys [" << golden.keys << "]"
            << (replay == Replay::Nested ? " with nested replay" : "");
    }
}

std::string CaseName(const testing::TestParamInfo<GoldenCase>& info) {
    std::string name;
    for (char c : info.param.where) {
        name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Tables, Golden, testing::ValuesIn(LoadGoldenCases()), CaseName);

TEST(GoldenTables, AreNotEmpty) {
    EXPECT_GT(LoadGoldenCases().size(), 50u);
}

}  // namespace
