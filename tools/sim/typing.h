// What the receiving application shows: the user's keys through the engine,
// and the key messages that reach the application through the layout model.
#pragma once

#include <string>
#include <vector>

#include "keystrokes.h"
#include "simulator.h"

// Starts a fresh engine and a fresh application (empty text, no modifier,
// CapsLock off) with the given keyboard layout, types the keys and returns
// the application's text.
std::u32string TypedText(const std::vector<UserKey>& keys, Replay replay = Replay::AfterHook,
                         AppLayout layout = AppLayout::Tibetan);

// The text that the key messages of a simulation make in the application.
std::u32string ArrivedText(const std::vector<AppKeyEvent>& arrivals, AppLayout layout);
