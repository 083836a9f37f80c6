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
#include <iterator>
#include <string>

#include "keys.h"
#include "keystrokes.h"
#include "layout.h"
#include "reference.h"
#include "simulator.h"
#include "typing.h"
#include "x11_keys.h"

namespace {

constexpr const char* Usage =
    "usage: yanra-sim trace [KEYS...]\n"
    "       yanra-sim keys [--layout tibetan|dzongkha|us] [KEYS...]\n"
    "       yanra-sim xdotool [KEYS...]\n"
    "       yanra-sim type [--layout tibetan|dzongkha|us] [KEYS...]\n"
    "       yanra-sim reference [text|markdown]\n"
    "KEYS: the arguments joined by blanks, or standard input when there are none.\n"
    "Printable ASCII is typed as on a US keyboard, a newline is Enter, {NAME} a named key\n"
    "(BS TAB ENTER ESC CAPS SPACE LEFT ... F12, {LSHIFT down} ...), {{ a brace.\n";

// KEYS from the arguments from first on, or standard input when there are none.
std::string Keystrokes(int argc, char** argv, int first) {
    if (argc <= first) {
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    std::string text = argv[first];
    for (int i = first + 1; i < argc; i++) {
        text += ' ';
        text += argv[i];
    }
    return text;
}

std::string TraceOutput(const KeystrokeParse& parse) {
    ResetSimulation();
    FeedUserKeys(parse.keys);
    return FormatTrace(Sim.trace);
}

std::string KeysOutput(const KeystrokeParse& parse, AppLayout layout) {
    ResetSimulation(Replay::AfterHook, layout);
    FeedUserKeys(parse.keys);
    std::string text;
    for (const AppKeyEvent& event : Sim.arrivals) {
        text += FormatArrival(event);
        text += '\n';
    }
    return text;
}

std::string TypeOutput(const KeystrokeParse& parse, AppLayout layout) {
    return Utf8(TypedText(parse.keys, Replay::AfterHook, layout)) + "\n";
}

int PrintReference(int argc, char** argv) {
    const std::string format = argc > 2 ? argv[2] : "text";
    if (argc > 3 || (format != "text" && format != "markdown")) {
        std::fprintf(stderr, "yanra-sim: reference takes text or markdown\n%s", Usage);
        return 2;
    }
    std::string output;
    std::string error;
    if (!MakeReference(format == "text" ? ReferenceFormat::Text : ReferenceFormat::Markdown, output, error)) {
        std::fprintf(stderr, "yanra-sim: reference: %s\n", error.c_str());
        return 1;
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return 0;
}

bool XdotoolOutput(const KeystrokeParse& parse, std::string& text) {
    for (const UserKey& key : parse.keys) {
        const std::string name = X11KeyName(key.vk, key.flags);
        if (name.empty()) {
            std::fprintf(stderr, "yanra-sim: position %zu: %s cannot be typed with xdotool\n", key.position,
                         KeyName(key.vk).c_str());
            return false;
        }
        text += key.up ? "keyup " : "keydown ";
        text += name;
        text += '\n';
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "reference") {
        return PrintReference(argc, argv);
    }
    if (command != "trace" && command != "keys" && command != "xdotool" && command != "type") {
        std::fprintf(stderr, "yanra-sim: unknown command '%s'\n%s", command.c_str(), Usage);
        return 2;
    }
    // Only the application's text and key messages depend on its layout.
    AppLayout layout = AppLayout::Tibetan;
    int first = 2;
    if ((command == "keys" || command == "type") && argc > 2 && std::string(argv[2]) == "--layout") {
        if (argc == 3 || !AppLayoutByName(argv[3], layout)) {
            std::fprintf(stderr, "yanra-sim: --layout takes tibetan, dzongkha or us\n%s", Usage);
            return 2;
        }
        first = 4;
    }
    const KeystrokeParse parse = ParseKeystrokes(Keystrokes(argc, argv, first));
    if (!parse.error.empty()) {
        std::fprintf(stderr, "yanra-sim: %s\n", parse.error.c_str());
        return 2;
    }
    std::string output;
    if (command == "trace") {
        output = TraceOutput(parse);
    } else if (command == "keys") {
        output = KeysOutput(parse, layout);
    } else if (command == "type") {
        output = TypeOutput(parse, layout);
    } else if (!XdotoolOutput(parse, output)) {
        return 2;
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return 0;
}
