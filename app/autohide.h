// The autohide timer's elapse, kept apart from the platform so that it can be
// tested natively.
#pragma once

// The largest elapse the system timer accepts (USER_TIMER_MAXIMUM, about 24.8
// days); larger values are refused or cut by some Windows versions.
constexpr unsigned LargestTimerElapse = 0x7FFFFFFFu;

// Milliseconds for a delay in seconds. The product is taken in 64 bits: in 32
// bits a delay of 4294968 seconds would wrap round to a 704 ms timer.
constexpr unsigned AutoHideElapse(unsigned delaySeconds) {
    const unsigned long long elapse = static_cast<unsigned long long>(delaySeconds) * 1000u;
    return elapse > LargestTimerElapse ? LargestTimerElapse : static_cast<unsigned>(elapse);
}
