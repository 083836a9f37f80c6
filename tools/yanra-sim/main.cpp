// yanra-sim: what the engine does with keystrokes, without Windows.
//
//   yanra-sim trace [KEYS...]    one line per key-down: KEY, pass or swallow, injected steps
//   yanra-sim keys [--layout L] [KEYS...]  the key messages the application receives, in order
//   yanra-sim xdotool [KEYS...]  the xdotool actions that type KEYS (for the end-to-end tests)
//   yanra-sim type [--layout L] [KEYS...]  the text the application shows, as UTF-8
//
// L is the receiving application's keyboard layout: tibetan (the default, the
// layout the engine's keys are written for), dzongkha or us.
//   yanra-sim reference [text|markdown]  what to type for each letter and sign, and what it gives
//
// KEYS are the arguments joined by single blanks, or standard input when
// there are none.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    std::string out;
    std::string err;
    const int status = RunYanraSim(args, std::cin, out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}
