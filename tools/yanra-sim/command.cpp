// The commands of yanra-sim, apart from the process: arguments and standard
// input in, output, messages and the exit status out.

#include "command.h"

#include <cstdio>
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
std::string Keystrokes(const std::vector<std::string>& args, std::size_t first, std::istream& input) {
    if (args.size() <= first) {
        return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
    }
    std::string text = args[first];
    for (std::size_t i = first + 1; i < args.size(); i++) {
        text += ' ';
        text += args[i];
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

int PrintReference(const std::vector<std::string>& args, std::string& out, std::string& err) {
    const std::string format = args.size() > 2 ? args[2] : "text";
    if (args.size() > 3 || (format != "text" && format != "markdown")) {
        err = std::string("yanra-sim: reference takes text or markdown\n") + Usage;
        return 2;
    }
    std::string error;
    if (!MakeReference(format == "text" ? ReferenceFormat::Text : ReferenceFormat::Markdown, out, error)) {
        out.clear();
        err = "yanra-sim: reference: " + error + "\n";
        return 1;
    }
    return 0;
}

bool XdotoolOutput(const KeystrokeParse& parse, std::string& text, std::string& err) {
    for (const UserKey& key : parse.keys) {
        const std::string name = X11KeyName(key.vk, key.flags);
        if (name.empty()) {
            err = "yanra-sim: position " + std::to_string(key.position) + ": " + KeyName(key.vk) +
                  " cannot be typed with xdotool\n";
            return false;
        }
        text += key.up ? "keyup " : "keydown ";
        text += name;
        text += '\n';
    }
    return true;
}

}  // namespace

int RunYanraSim(const std::vector<std::string>& args, std::istream& input, std::string& out, std::string& err) {
    out.clear();
    err.clear();
    if (args.size() < 2) {
        err = Usage;
        return 2;
    }
    const std::string& command = args[1];
    if (command == "reference") {
        return PrintReference(args, out, err);
    }
    if (command != "trace" && command != "keys" && command != "xdotool" && command != "type") {
        err = "yanra-sim: unknown command '" + command + "'\n" + Usage;
        return 2;
    }
    // Only the application's text and key messages depend on its layout.
    AppLayout layout = AppLayout::Tibetan;
    std::size_t first = 2;
    if ((command == "keys" || command == "type") && args.size() > 2 && args[2] == "--layout") {
        if (args.size() == 3 || !AppLayoutByName(args[3], layout)) {
            err = std::string("yanra-sim: --layout takes tibetan, dzongkha or us\n") + Usage;
            return 2;
        }
        first = 4;
    }
    const KeystrokeParse parse = ParseKeystrokes(Keystrokes(args, first, input));
    if (!parse.error.empty()) {
        err = "yanra-sim: " + parse.error + "\n";
        return 2;
    }
    if (command == "trace") {
        out = TraceOutput(parse);
    } else if (command == "keys") {
        out = KeysOutput(parse, layout);
    } else if (command == "type") {
        out = TypeOutput(parse, layout);
    } else if (!XdotoolOutput(parse, out, err)) {
        out.clear();
        return 2;
    }
    return 0;
}
