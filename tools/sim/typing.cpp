#include "typing.h"

#include "keys.h"

std::u32string ArrivedText(const std::vector<AppKeyEvent>& arrivals, AppLayout layout) {
    TypingState state;
    state.layout = layout;
    for (const AppKeyEvent& event : arrivals) {
        if (event.vk == VkPacket) {
            if (!event.up) {
                TypeCharacter(state, event.unit);
            }
        } else {
            TypeKeyMessage(state, event.rawVk, event.up);
        }
    }
    return state.text;
}

std::u32string TypedText(const std::vector<UserKey>& keys, Replay replay, AppLayout layout) {
    ResetSimulation(replay, layout);
    FeedUserKeys(keys);
    return ArrivedText(Sim.arrivals, layout);
}
