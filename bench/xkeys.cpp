// yanra-xkeys: types key actions with XTest and writes down when each went
// out, for the benchmarks under Wine.
//
//   yanra-xkeys --gap MS  [--stamps FILE] < ACTIONS   MS milliseconds after every action
//   yanra-xkeys --rate N  [--stamps FILE] < ACTIONS   N key-downs per second, evenly spaced
//   yanra-xkeys --rate 0  [--stamps FILE] < ACTIONS   as fast as the X server takes them
//
// ACTIONS are the lines of `yanra-sim xdotool`: "keydown NAME" or "keyup
// NAME", NAME a keysym name (or a key code in digits). FILE gets one line per
// action, "NANOSECONDS keydown NAME", the time (CLOCK_REALTIME, the clock that
// Windows programs under Wine read as the precise system time) taken just
// before the event was handed to the X server. At the end a line on standard
// output: "key_downs N seconds S rate R" (R key-downs per second).
// Exit status: 0 done, 1 the X server or a key cannot be used, 2 bad usage.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Action {
    bool down;
    KeyCode code;
    std::string name;
};

long long Now() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void SleepUntil(long long when) {
    timespec at = {static_cast<time_t>(when / 1000000000LL), static_cast<long>(when % 1000000000LL)};
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

bool ReadActions(Display* display, std::vector<Action>& actions) {
    std::string kind;
    std::string name;
    int line = 0;
    while (std::cin >> kind >> name) {
        line++;
        if (kind != "keydown" && kind != "keyup") {
            std::fprintf(stderr, "yanra-xkeys: action %d: \"%s\" is neither keydown nor keyup\n", line, kind.c_str());
            return false;
        }
        KeyCode code = 0;
        if (name.find_first_not_of("0123456789") == std::string::npos) {
            code = static_cast<KeyCode>(std::atoi(name.c_str()));
        } else {
            const KeySym sym = XStringToKeysym(name.c_str());
            code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        }
        if (code == 0) {
            std::fprintf(stderr, "yanra-xkeys: action %d: no key for \"%s\"\n", line, name.c_str());
            return false;
        }
        actions.push_back({kind == "keydown", code, name});
    }
    return true;
}

int Usage() {
    std::fputs("usage: yanra-xkeys --gap MS | --rate N [--stamps FILE] < ACTIONS\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    double gapMs = -1;
    double rate = -1;
    const char* stampPath = nullptr;
    for (int i = 1; i < argc; i++) {
        if (i + 1 >= argc) {
            return Usage();
        }
        if (std::strcmp(argv[i], "--gap") == 0) {
            gapMs = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--rate") == 0) {
            rate = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--stamps") == 0) {
            stampPath = argv[++i];
        } else {
            return Usage();
        }
    }
    if ((gapMs < 0) == (rate < 0)) {
        return Usage();
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("yanra-xkeys: cannot open the X display\n", stderr);
        return 1;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fputs("yanra-xkeys: the X server has no XTEST\n", stderr);
        return 1;
    }
    std::vector<Action> actions;
    if (!ReadActions(display, actions)) {
        return 1;
    }

    // Each action's slot: after the gap, or at the rate (two actions, a down
    // and an up, per key-down on average).
    const long long step = gapMs >= 0 ? static_cast<long long>(gapMs * 1e6) : rate > 0 ? static_cast<long long>(0.5e9 / rate) : 0;
    std::vector<long long> stamps(actions.size());
    long keyDowns = 0;
    const long long start = Now();
    for (std::size_t i = 0; i < actions.size(); i++) {
        if (step > 0 && rate > 0) {
            SleepUntil(start + static_cast<long long>(i) * step);
        }
        stamps[i] = Now();
        XTestFakeKeyEvent(display, actions[i].code, actions[i].down ? True : False, CurrentTime);
        XFlush(display);
        keyDowns += actions[i].down ? 1 : 0;
        if (gapMs > 0) {
            SleepUntil(stamps[i] + step);
        }
    }
    XSync(display, False);
    const double seconds = static_cast<double>(Now() - start) / 1e9;
    XCloseDisplay(display);

    if (stampPath != nullptr) {
        std::FILE* file = std::fopen(stampPath, "w");
        if (file == nullptr) {
            std::fprintf(stderr, "yanra-xkeys: cannot write %s\n", stampPath);
            return 1;
        }
        for (std::size_t i = 0; i < actions.size(); i++) {
            std::fprintf(file, "%lld %s %s\n", stamps[i], actions[i].down ? "keydown" : "keyup",
                         actions[i].name.c_str());
        }
        std::fclose(file);
    }
    std::printf("key_downs %ld seconds %.6f rate %.1f\n", keyDowns, seconds,
                seconds > 0 ? static_cast<double>(keyDowns) / seconds : 0.0);
    return 0;
}
