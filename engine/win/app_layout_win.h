// The receiving application's keyboard layout, asked of the system.
#pragma once

#include <windows.h>

// Takes the layout of the foreground window's thread as the one that the
// next taps are typed with. Called once per key-down of the user's, with the
// foreground window (null: none).
void FollowForegroundLayout(HWND foreground);
