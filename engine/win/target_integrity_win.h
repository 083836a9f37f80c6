// The integrity levels of our process and of the foreground one, asked of
// the system.
#pragma once

#include <windows.h>

#include "target_integrity.h"

// Looks up the security functions and our own level. Windows 2000 and XP have
// no integrity levels: our level is then unknown, and no key ever passes
// for this reason.
void StartIntegrityChecks();

// Our own level as StartIntegrityChecks found it: unknown on a system
// without levels.
Integrity OurIntegrity();

// The integrity level of a process.
Integrity QueryProcessIntegrity(unsigned long processId);

// Follows the foreground window of the process processId: whether injected
// keys reach it, asked of the system only when the foreground changes.
void FollowForegroundIntegrity(HWND foreground, DWORD processId);

// SendInput took none of our keys: the foreground drops them.
void NoteInjectionRefused();
