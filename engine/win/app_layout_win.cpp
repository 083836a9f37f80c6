// What the foreground application's keyboard layout types for a key: asked of
// the system with ToUnicodeEx once per layout, key and state, and kept, so that
// a keystroke costs a table lookup.

#include <windows.h>

#include <cstring>

#include "app_layout_win.h"
#include "inject.h"

namespace {

constexpr int StateCount = 8;  // Shift, CapsLock and AltGr, each on or off
constexpr int CacheCount = 4;  // layouts remembered at once

struct KeptAnswer {
    bool known;
    signed char count;
    wchar_t units[4];
};

struct LayoutCache {
    HKL layout;
    KeptAnswer answers[256][StateCount];
};

LayoutCache Caches[CacheCount];
int NextCache = 0;  // the place to take next, round the ring
LayoutCache* Current = nullptr;

LayoutCache* CacheFor(HKL layout) {
    for (LayoutCache& cache : Caches) {
        if (cache.layout == layout && layout != nullptr) {
            return &cache;
        }
    }
    LayoutCache* cache = &Caches[NextCache];
    NextCache = (NextCache + 1) % CacheCount;
    std::memset(cache, 0, sizeof *cache);
    cache->layout = layout;
    return cache;
}

LayoutAnswer AskSystem(HKL layout, unsigned vk, const KeyboardView& view) {
    BYTE state[256] = {};
    if (view.shift) {
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    }
    if (view.capsLock) {
        state[VK_CAPITAL] = 0x01;
    }
    if (view.altGr) {
        // The system reports AltGr as the right Alt with Ctrl.
        state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    }
    const UINT scan = MapVirtualKeyExW(vk, 0 /* MAPVK_VK_TO_VSC */, layout);
    wchar_t text[8];
    // Flag 4 keeps the keyboard state as it is, where the system knows it
    // (Windows 10 1607 and later); older systems ignore it.
    const UINT flags = 4;
    const int count = ToUnicodeEx(vk, scan, state, text, 8, flags, layout);
    if (count < 0) {
        // A dead key waits in this thread's keyboard buffer for the next key:
        // typing it again takes it out, so that it spoils no later answer.
        for (int tries = 0; tries < 4 && ToUnicodeEx(vk, scan, state, text, 8, flags, layout) < 0; tries++) {
        }
        return {-1, {}};
    }
    LayoutAnswer answer = {count, {}};
    if (count > 4) {
        answer.count = -1;
        return answer;
    }
    for (int i = 0; i < count; i++) {
        answer.units[i] = static_cast<char16_t>(text[i]);
    }
    return answer;
}

}  // namespace

void FollowForegroundLayout(HWND foreground) {
    // Thread 0 means this thread's own layout, the best guess with no
    // foreground window.
    const DWORD thread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    Current = CacheFor(GetKeyboardLayout(thread));
}

LayoutAnswer AskAppLayout(unsigned vk, const KeyboardView& view) {
    if (Current == nullptr) {
        FollowForegroundLayout(GetForegroundWindow());
    }
    const int state = (view.shift ? 1 : 0) | (view.capsLock ? 2 : 0) | (view.altGr ? 4 : 0);
    KeptAnswer& kept = Current->answers[vk & 0xFF][state];
    if (!kept.known) {
        const LayoutAnswer answer = AskSystem(Current->layout, vk & 0xFF, view);
        kept.known = true;
        kept.count = static_cast<signed char>(answer.count);
        for (int i = 0; i < 4; i++) {
            kept.units[i] = static_cast<wchar_t>(answer.units[i]);
        }
    }
    LayoutAnswer answer = {kept.count, {}};
    for (int i = 0; i < 4; i++) {
        answer.units[i] = static_cast<char16_t>(kept.units[i]);
    }
    return answer;
}
