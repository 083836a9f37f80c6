#include "hook_watchdog.h"

long long TickDifference(unsigned earlier, unsigned later) {
    const unsigned long long difference = (later - earlier) & 0xFFFFFFFFull;
    // Half the counter's range forward, the other half backward.
    if (difference < 0x80000000ull) {
        return static_cast<long long>(difference);
    }
    return -static_cast<long long>(0x100000000ull - difference);
}

bool HookNeedsReinstall(unsigned lastHookTick, unsigned lastInputTick, unsigned now) {
    if (TickDifference(lastHookTick, lastInputTick) <= 0) {
        // The hook has seen the latest input (its own injected keys count as
        // input too, and it records them after the system does).
        return false;
    }
    const long long inputAge = TickDifference(lastInputTick, now);
    const long long hookAge = TickDifference(lastHookTick, now);
    return inputAge >= static_cast<long long>(HookSettleMs) || hookAge >= static_cast<long long>(HookPatienceMs);
}
