// The X key names with which xdotool types a key, for the end-to-end tests.
#pragma once

#include <string>

// Empty when the key has no plain X key name (keypad digits, whose meaning
// depends on NumLock, and the right-hand modifiers, which xdotool presses
// with the left-hand key).
std::string X11KeyName(unsigned vk, unsigned flags);
