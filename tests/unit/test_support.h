// Helpers for driving the engine through the hook's entry point.
#pragma once

#include <string>

#include "engine_state.h"
#include "keystrokes.h"
#include "simulator.h"

// Types KEYS (the yanra-sim language) into a fresh engine and returns the trace.
inline std::string TraceOf(const std::string& keys, Replay replay = Replay::AfterHook) {
    ResetSimulation(replay);
    const KeystrokeParse parse = ParseKeystrokes(keys);
    if (!parse.error.empty()) {
        return "bad keys: " + parse.error;
    }
    FeedUserKeys(parse.keys);
    return FormatTrace(Sim.trace);
}

// Types KEYS into the engine as it stands, without resetting it.
inline void Type(const std::string& keys) {
    FeedUserKeys(ParseKeystrokes(keys).keys);
}

// The output of the last user key-down, in the tables' notation.
inline std::string LastOutput() {
    return Sim.trace.empty() ? "" : FormatSteps(Sim.trace.back().steps);
}

inline std::string Buffer() {
    return std::string(Engine.SyllableBuffer);
}
