// The output path: the SendInput calls that reach the system, for an
// application whose layout is the Tibetan one the engine's keys are written
// for, and for applications with Windows' Dzongkha or US layout, where a tap
// becomes the character it means whenever the layout would not type it.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "golden.h"
#include "inject.h"
#include "keys.h"
#include "keystrokes.h"
#include "simulator.h"
#include "typing.h"

namespace {

// A record as the library fills the INPUT for it: wVk, wScan, dwFlags.
std::string Record(const KeyEvent& event) {
    const unsigned flags = (event.up ? 2u : 0u) | (event.unit != 0 ? 4u : 0u);
    const unsigned vk = event.unit != 0 ? 0u : event.vk;
    return "vk=" + std::to_string(vk) + " scan=" + std::to_string(static_cast<unsigned>(event.unit)) +
           " flags=" + std::to_string(flags);
}

std::string Calls(const std::vector<std::vector<KeyEvent>>& calls) {
    std::string text;
    for (const auto& call : calls) {
        text += "[";
        for (const KeyEvent& event : call) {
            text += " " + Record(event);
        }
        text += " ]\n";
    }
    return text;
}

// The calls that the primitives make for the steps of a trace when only
// virtual keys are sent: what the Tibetan layout wants.
std::string KeyCalls(const std::vector<TracedKey>& trace) {
    std::vector<std::vector<KeyEvent>> calls;
    for (const TracedKey& key : trace) {
        for (const Step& step : key.steps) {
            const InjectionPlan plan = PlanInjection(step.kind, step.vk);
            const KeyEvent* event = plan.events;
            for (int c = 0; c < plan.callCount; c++) {
                calls.emplace_back(event, event + plan.callSizes[c]);
                event += plan.callSizes[c];
            }
        }
    }
    return Calls(calls);
}

std::string Arrivals(const std::vector<AppKeyEvent>& arrivals) {
    std::string text;
    for (const AppKeyEvent& event : arrivals) {
        text += FormatArrival(event) + (event.injected ? " (injected)\n" : "\n");
    }
    return text;
}

void RunCase(const GoldenCase& golden, Replay replay, AppLayout layout) {
    ResetSimulation(replay, layout);
    FeedUserKeys(ParseKeystrokes(golden.keys).keys);
}

// What an application with `layout` must receive, worked out from what the
// application with the Tibetan layout receives: the keyboard state is
// followed through those messages, the user's Shift included, and every
// injected tap of a key that the Tibetan layout covers is kept where `layout`
// types the same there, and otherwise becomes the Tibetan text itself.
std::vector<AppKeyEvent> Expected(const std::vector<AppKeyEvent>& tibetan, AppLayout layout, int& replaced) {
    std::vector<AppKeyEvent> expected;
    KeyboardView view;
    replaced = 0;
    for (std::size_t i = 0; i < tibetan.size(); i++) {
        const AppKeyEvent& event = tibetan[i];
        const bool tap = event.injected && !event.up && i + 1 < tibetan.size() && tibetan[i + 1].injected &&
                         tibetan[i + 1].up && tibetan[i + 1].rawVk == event.rawVk;
        if (tap && FindLayoutKey(event.rawVk) != nullptr) {
            const std::u32string meant = AppLayoutText(AppLayout::Tibetan, event.rawVk, view);
            if (meant == AppLayoutText(layout, event.rawVk, view)) {
                expected.push_back(event);
                expected.push_back(tibetan[i + 1]);
            } else {
                replaced++;
                for (char32_t c : meant) {
                    const char16_t unit = static_cast<char16_t>(c);
                    expected.push_back({VkPacket, false, true, VkPacket, unit});
                    expected.push_back({VkPacket, true, true, VkPacket, unit});
                }
            }
            i++;
            continue;
        }
        if (event.vk == VkShift) {
            view.shift = !event.up;
        } else if (event.rawVk == VkCapital && !event.up) {
            view.capsLock = !view.capsLock;
        } else if (event.rawVk == VkRMenu) {
            view.altGr = !event.up;
        }
        expected.push_back(event);
    }
    return expected;
}

class Output : public testing::TestWithParam<GoldenCase> {};

// With the layout the keys are written for, every call is the one that the
// primitives make of the trace's steps: virtual keys only, byte for byte.
TEST_P(Output, TibetanLayoutGetsTheKeysUnchanged) {
    for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
        RunCase(GetParam(), replay, AppLayout::Tibetan);
        EXPECT_EQ(Calls(Sim.sendInputCalls), KeyCalls(Sim.trace)) << GetParam().where;
    }
}

TEST_P(Output, OtherLayoutsGetTheCharactersTheyWouldNotType) {
    for (AppLayout layout : {AppLayout::Us, AppLayout::Dzongkha}) {
        for (Replay replay : {Replay::AfterHook, Replay::Nested}) {
            RunCase(GetParam(), replay, AppLayout::Tibetan);
            const std::vector<AppKeyEvent> tibetan = Sim.arrivals;
            const std::string tibetanTrace = FormatTrace(Sim.trace);
            const std::size_t tibetanCalls = Sim.sendInputCalls.size();
            int replaced = 0;
            const std::vector<AppKeyEvent> expected = Expected(tibetan, layout, replaced);

            RunCase(GetParam(), replay, layout);
            const char* name = layout == AppLayout::Us ? "us" : "dzongkha";
            EXPECT_EQ(Arrivals(Sim.arrivals), Arrivals(expected)) << GetParam().where << " " << name;
            // The engine decides and answers exactly as before, in as many calls.
            EXPECT_EQ(FormatTrace(Sim.trace), tibetanTrace) << GetParam().where << " " << name;
            EXPECT_EQ(Sim.sendInputCalls.size(), tibetanCalls) << GetParam().where << " " << name;
        }
    }
}

std::string CaseName(const testing::TestParamInfo<GoldenCase>& info) {
    std::string name;
    for (char c : info.param.where) {
        name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Tables, Output, testing::ValuesIn(LoadGoldenCases()), CaseName);

std::string KeysWith(AppLayout layout, const std::string& keys) {
    ResetSimulation(Replay::AfterHook, layout);
    FeedUserKeys(ParseKeystrokes(keys).keys);
    std::string text;
    for (const AppKeyEvent& event : Sim.arrivals) {
        if (event.injected) {
            text += (text.empty() ? "" : ", ") + FormatArrival(event);
        }
    }
    return text;
}

struct LayoutCase {
    const char* what;
    AppLayout layout;
    const char* keys;
    const char* injected;  // the engine's messages that reach the application
};

TEST(OutputCases, EachTapIsReadInTheStateTheApplicationSees) {
    const LayoutCase cases[] = {
        {"us: a letter", AppLayout::Us, "k", "down U+0F40, up U+0F40"},
        {"dzongkha types the base layer itself", AppLayout::Dzongkha, "k", "down Q, up Q"},
        // Shift with k is no rule: the typed key goes again, shifted by the user's Shift.
        {"us: the user's held Shift selects the Shift layer", AppLayout::Us, "{LSHIFT down}k{LSHIFT up}",
         "down U+0FA8, up U+0FA8"},
        {"dzongkha types the Shift layer itself", AppLayout::Dzongkha, "{LSHIFT down}k{LSHIFT up}", "down K, up K"},
        {"us: a shifted step, and the keys around it stay", AppLayout::Us, "kii",
         "down U+0F40, up U+0F40, down U+0F72, up U+0F72, down VK_BACK, up VK_BACK, down VK_SHIFT, "
         "down U+0F71, up U+0F71, up VK_SHIFT, down U+0F72, up U+0F72"},
        {"dzongkha has no CapsLock layer: Caps+K becomes the anusvara", AppLayout::Dzongkha, "M",
         "up VK_SHIFT, down VK_CAPITAL, up VK_CAPITAL, down U+0F7E, up U+0F7E, down VK_CAPITAL, up VK_CAPITAL, "
         "down VK_SHIFT"},
        {"dzongkha types AltGr+C under Shift itself", AppLayout::Dzongkha, "&",
         "down VK_MENU, down C, up C, up VK_MENU"},
        {"us: AltGr+C under the user's Shift is the fourth layer", AppLayout::Us, "&",
         "down VK_MENU, down U+0FB0, up U+0FB0, up VK_MENU"},
        {"dzongkha has nothing on Shift with the space bar", AppLayout::Dzongkha, "{LSHIFT down} {LSHIFT up}",
         "down U+0020, up U+0020"},
        {"us types a blank on Shift with the space bar itself", AppLayout::Us, "{LSHIFT down} {LSHIFT up}",
         "down VK_SPACE, up VK_SPACE"},
        {"Backspace, and keys the layout does not cover, are tapped as they are", AppLayout::Us, "{TAB}{F5}",
         "down VK_TAB, up VK_TAB, down VK_F5, up VK_F5"},
        // The row for M gives the application its Shift back but leaves the
        // engine's released: a is read as a and its carrier arrives shifted,
        // as it would on the Tibetan layout.
        {"a Shift given back by a row counts for the taps after it", AppLayout::Us, "{LSHIFT down}ma{LSHIFT up}",
         "up VK_SHIFT, down VK_CAPITAL, up VK_CAPITAL, down U+0F7E, up U+0F7E, down VK_CAPITAL, up VK_CAPITAL, "
         "down VK_SHIFT, down U+0FB8, up U+0FB8"},
    };
    for (const LayoutCase& c : cases) {
        EXPECT_EQ(KeysWith(c.layout, c.keys), c.injected) << c.what;
    }
}

// A tap whose cell on the Tibetan layout is empty sends nothing where the
// application's layout would type something there.
TEST(OutputCases, AnEmptyCellSendsNothing) {
    ResetSimulation(Replay::AfterHook, AppLayout::Us);
    AppKeyboard.shift = true;
    const InjectionPlan plan = PlanOutput(StepKind::Tap, '4');  // Shift with 4: empty on the Tibetan layout
    EXPECT_EQ(plan.callCount, 0);
    ResetSimulation(Replay::AfterHook, AppLayout::Tibetan);
    AppKeyboard.shift = true;
    EXPECT_EQ(PlanOutput(StepKind::Tap, '4').callCount, 1);  // where it types nothing too, the key goes as it is
}

// A cell of two code points goes out as two characters in the tap's own call.
TEST(OutputCases, TwoCodePointsInOneCall) {
    ResetSimulation(Replay::AfterHook, AppLayout::Us);
    AppKeyboard.shift = true;
    const InjectionPlan plan = PlanOutput(StepKind::CapsLocked, 'T');
    ASSERT_EQ(plan.callCount, 3);
    EXPECT_EQ(plan.callSizes[1], 4);
    EXPECT_EQ(plan.events[2].unit, u'\u0F8B');
    EXPECT_EQ(plan.events[4].unit, u'\u0F99');
    EXPECT_TRUE(plan.events[5].up);
}

}  // namespace
