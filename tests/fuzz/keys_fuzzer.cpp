// yanra-sim's KEYS language through the command line itself: the text
// either is accepted and typed, or refused with exit status 2, nothing on
// standard output, and a message naming a position in the text and what is
// wrong there.
//
// Input: one byte choosing the command (trace, keys, type or xdotool, and
// the layout), then the KEYS text, given as standard input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "command.h"
#include "keystrokes.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& err) {
    std::fprintf(stderr, "KEYS check failed: %s\nstandard error: %s\n", what, err.c_str());
    std::abort();
}

// The position in "yanra-sim: position N: ..." and the problem after it; 0
// when the message has no such form.
std::size_t PositionOf(const std::string& err, std::string& problem) {
    const std::string prefix = "yanra-sim: position ";
    if (err.compare(0, prefix.size(), prefix) != 0 || err.empty() || err.back() != '\n') {
        return 0;
    }
    std::size_t at = prefix.size();
    std::size_t position = 0;
    for (; at < err.size() && err[at] >= '0' && err[at] <= '9' && position < 100000000; at++) {
        position = position * 10 + static_cast<std::size_t>(err[at] - '0');
    }
    if (err.compare(at, 2, ": ") != 0) {
        return 0;
    }
    problem = err.substr(at + 2, err.size() - at - 3);
    return problem.empty() ? 0 : position;
}

bool Printable(char c) {
    return c == '\n' || (c >= 0x20 && c <= 0x7E);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static const std::vector<std::string> commands[] = {
        {"yanra-sim", "trace"},
        {"yanra-sim", "keys"},
        {"yanra-sim", "keys", "--layout", "dzongkha"},
        {"yanra-sim", "type"},
        {"yanra-sim", "type", "--layout", "us"},
        {"yanra-sim", "xdotool"},
    };
    const std::vector<std::string>& args = commands[data[0] % 6];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::istringstream input(text);
    std::string out;
    std::string err;
    const int status = RunYanraSim(args, input, out, err);
    const KeystrokeParse parse = ParseKeystrokes(text);

    if (status == 0) {
        if (!err.empty() || !parse.error.empty()) {
            Fail("accepted text with a message, or text that the parser refuses", err);
        }
        for (const UserKey& key : parse.keys) {
            if (key.position < 1 || key.position > text.size()) {
                Fail("a key from outside the text", err);
            }
        }
        return 0;
    }
    if (status != 2) {
        Fail("an exit status other than 0 and 2", err);
    }
    if (!out.empty()) {
        Fail("refused text with standard output", err);
    }
    std::string problem;
    const std::size_t position = PositionOf(err, problem);
    if (position < 1 || position > text.size()) {
        Fail("a refusal without a position in the text", err);
    }
    const char at = text[position - 1];
    if (!parse.error.empty()) {
        if (problem.compare(0, 10, "character ") == 0) {
            if (Printable(at)) {
                Fail("a printable character called bad", err);
            }
        } else if (at != '{') {
            Fail("a brace problem not at a brace", err);
        }
    } else if (args[1] != "xdotool" || problem.find("cannot be typed with xdotool") == std::string::npos) {
        Fail("refused text that the parser accepts", err);
    }
    return 0;
}
