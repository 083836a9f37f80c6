// Keys aimed at a process that the system protects from ours. From Windows
// Vista on, input that a process injects is dropped when the foreground
// window belongs to a process of higher integrity (an elevated program, for
// one): swallowing a key there and typing its replacement would leave the
// user with a key that does nothing. So the hook lets keys pass to such a
// window. The platform finds the integrity levels; the decisions are here.
#pragma once

enum class IntegrityAnswer {
    Known,         // level holds the process's integrity level
    AccessDenied,  // the system would not tell: a process guarded from ours
    Unknown,       // no answer for another reason (the process ended, a
                   // system without integrity levels such as Windows XP)
};

struct Integrity {
    IntegrityAnswer answer;
    unsigned long level;  // the integrity level's RID: 0x2000 medium, 0x3000 high, ...
};

// True when injected keys would not reach the target: its level is above
// ours, or the system refused to tell it. Where our own level is unknown
// the system has no integrity levels, and nothing is dropped.
bool KeysMustPass(const Integrity& ours, const Integrity& target);

// The answer for the foreground process, asked again only when the
// foreground window or its process changes, so an unchanged foreground
// costs nothing per key.
struct ForegroundIntegrity {
    bool asked = false;
    const void* window = nullptr;
    unsigned long processId = 0;
    bool mustPass = false;
};

using IntegrityQuery = Integrity (*)(unsigned long processId);

// Follows the foreground window (null: none) of the process processId and
// returns whether keys must pass to it. query is called only for a new
// foreground, and never when our own level is unknown.
bool FollowForeground(ForegroundIntegrity& cache, const void* window, unsigned long processId,
                      const Integrity& ours, IntegrityQuery query);

// The system refused keys that we injected into the foreground (SendInput
// took none: a protection that the levels did not show, such as a program
// that blocks input, or a system where levels cannot be read). The key that
// made them is lost; the keys after it pass to that window, until another
// one comes to the foreground.
void InjectionRefused(ForegroundIntegrity& cache);
