#include "typing.h"

#include "layout.h"

std::u32string TypedText(const std::vector<UserKey>& keys, Replay replay) {
    ResetSimulation(replay);
    FeedUserKeys(keys);
    TypingState state;
    for (const AppKeyEvent& event : Sim.arrivals) {
        TypeKeyMessage(state, event.rawVk, event.up);
    }
    return state.text;
}
