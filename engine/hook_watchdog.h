// Noticing that the system has taken the keyboard hook away. Windows removes
// a low-level hook without a word when one call of it takes too long, and
// the hook is then simply never called again. The system still counts every
// input it receives (GetLastInputInfo): input newer than the last event the
// hook saw means the hook no longer sees the keyboard, and is installed
// again. The library's host thread asks this on a timer.
#pragma once

// Milliseconds between two checks: with the waits below, a hook that the
// system removed is back within 2 s of the first input it missed.
constexpr unsigned HookCheckPeriodMs = 500;

// An input must be this old before its absence from the hook counts: the
// hook is called on the host thread, so an event may still be on its way to
// it while the timer runs.
constexpr unsigned HookSettleMs = 100;

// ... unless the hook itself has seen nothing for this long while input
// arrives: input that keeps coming faster than HookSettleMs would never
// count otherwise.
constexpr unsigned HookPatienceMs = 1000;

// Ticks are milliseconds of the system's tick counter (GetTickCount), which
// wraps to 0 after about 49.7 days; they are compared by their difference,
// so the wrap does not matter for times less than 24.8 days apart.
//   lastHookTick   the tick when the hook last saw an event (or was installed)
//   lastInputTick  the tick of the last input the system received
//   now            the tick now
// True when the hook must be installed again.
bool HookNeedsReinstall(unsigned lastHookTick, unsigned lastInputTick, unsigned now);

// later - earlier, for ticks that may have wrapped in between; negative when
// "later" is in fact the earlier one.
long long TickDifference(unsigned earlier, unsigned later);
