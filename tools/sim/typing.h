// What the receiving application shows: the user's keys through the engine,
// and the key messages that reach the application through the layout model.
#pragma once

#include <string>
#include <vector>

#include "keystrokes.h"
#include "simulator.h"

// Starts a fresh engine and a fresh application (empty text, no modifier,
// CapsLock off), types the keys and returns the application's text.
std::u32string TypedText(const std::vector<UserKey>& keys, Replay replay = Replay::AfterHook);
