// Runs key events through the real engine logic with a recorder in place of
// the system: every primitive is recorded as a step, and every event it
// injects is fed back through the hook logic marked injected, as the system
// does, before it reaches the (simulated) application.
#pragma once

#include <string>
#include <vector>

#include "hook.h"
#include "inject.h"
#include "keystrokes.h"
#include "layout.h"

// When injected events come back through the hook.
enum class Replay {
    AfterHook,  // Windows: after the hook call that injected them has returned
    Nested,     // Wine: inside the SendInput call, before it returns
};

// What the engine did with one key-down that the user made.
struct TracedKey {
    unsigned vk;
    HookAnswer answer;
    std::vector<Step> steps;
};

// A key message that reaches the application, with the key as the
// application sees it: one code for both Shift keys, both Ctrl keys, both Alts.
struct AppKeyEvent {
    unsigned vk;
    bool up;
    bool injected;
    unsigned rawVk;  // the key as sent, left and right apart: AltGr is VK_RMENU
    char16_t unit;   // for a character sent by itself (vk VK_PACKET): the character
};

struct ModeMessage {
    int newMode;
    int modeWhenSent;  // the engine's mode while the main window handles it
};

struct Simulation {
    Replay replay = Replay::AfterHook;
    AppLayout layout = AppLayout::Tibetan;  // the receiving application's keyboard layout
    // The foreground application belongs to a process that the system
    // protects from ours: every event injected is dropped.
    bool targetDropsInjection = false;
    // False: the engine and the replay run as usual, but nothing below is
    // kept, only the key messages counted (the benchmarks time the engine,
    // not the record).
    bool keepRecord = true;
    long arrivalCount = 0;
    std::vector<TracedKey> trace;
    std::vector<AppKeyEvent> arrivals;
    std::vector<ModeMessage> modeMessages;
    std::vector<std::vector<KeyEvent>> sendInputCalls;
    std::vector<Step> lastSteps;  // what the last user event made the engine inject
    // Injected events whose way back through the hook changed the engine's
    // state other than ShiftDown and CtrlDown: none, ever.
    int replayChanges = 0;
    // Every key as it is down or up: in the application (from every event
    // that reached it), as the user holds it (from the user's own events,
    // whatever the hook made of them), and as other programs hold it (from
    // the injected events they send, fed in as user events are). Generic
    // Shift, Ctrl and Alt count as the left keys, as the system takes them.
    bool appKeyDown[256] = {};
    bool userKeyDown[256] = {};
    bool otherKeyDown[256] = {};
    int injectedCapsLockTaps = 0;  // CapsLock key-downs of the engine's that reached the application
};

extern Simulation Sim;

// A fresh engine, as just loaded, and an empty record, typing into an
// application with the given keyboard layout.
void ResetSimulation(Replay replay = Replay::AfterHook, AppLayout layout = AppLayout::Tibetan);

// Feeds one user event through the hook and returns the hook's answer.
HookAnswer FeedUserKey(const UserKey& key);
void FeedUserKeys(const std::vector<UserKey>& keys);

// The modifiers held down in the application that neither the user nor
// another program holds (the engine's own taps of AltGr or Shift may leave a
// modifier up while the user holds it, never down): "Shift", "Ctrl", "Alt", joined by blanks, and
// "CapsLock" when the engine's own CapsLock taps left the lock switched.
// Empty when the engine has left nothing pressed.
std::string ModifiersLeftByEngine();

// "Shift+R", "BS", "up VK_LSHIFT", ...; a whole output joined by ", ", or
// "nothing".
std::string FormatStep(const Step& step);
std::string FormatSteps(const std::vector<Step>& steps);

// One line per user key-down: KEY, tab, pass or swallow, tab, output.
std::string FormatTrace(const std::vector<TracedKey>& trace);

// The key as the application's window messages report it.
unsigned AppKey(unsigned vk);

// A key message as yanra-sim keys prints it: "down Q", "up VK_SHIFT", and for
// a character sent by itself, the character: "down U+0F40".
std::string FormatArrival(const AppKeyEvent& event);
