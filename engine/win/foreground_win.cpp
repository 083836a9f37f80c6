// Whether the keys we inject reach the foreground window, followed as the
// user's keys arrive.

#include <windows.h>

#include "inject.h"
#include "target_integrity_win.h"

namespace {

ForegroundIntegrity Foreground;
bool InjectionReaches = true;

}  // namespace

void FollowForegroundIntegrity(HWND foreground, DWORD processId) {
    InjectionReaches = !FollowForeground(Foreground, foreground, processId, OurIntegrity(), QueryProcessIntegrity);
}

void NoteInjectionRefused() {
    InjectionRefused(Foreground);
    InjectionReaches = !Foreground.mustPass;
}

bool InjectionReachesTarget() {
    return InjectionReaches;
}
