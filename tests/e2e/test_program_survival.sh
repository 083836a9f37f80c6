#!/usr/bin/env bash
# The program survives what goes on around it:
# - when the shell restarts, its icon is gone; the shell then announces itself
#   to every window with "TaskbarCreated", and the icon comes back in the mode
#   it showed, with its tooltip and without the start balloon; keys go on
#   being transliterated and the icon follows the mode again;
# - two programs started at the same moment end as one instance with one icon;
# - 50 starts and exits in a row end with exit code 0 each and leave no
#   process and no icon behind.
#
# Wine's shell does not restart here: a small helper plays its part. It takes
# the icon away as a dying shell would (the icon's window and number are all
# that is needed) and sends the announcement to every top-level window, as a
# new shell does.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tray_helpers.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe
CC=${YANRA_E2E_CC:-$YANRA_MINGW-gcc}
STARTS=${YANRA_E2E_STARTS:-50}

build_shell_helper() {
    command -v "$CC" >/dev/null || e2e_die "$CC is not installed (run scripts/setup)"
    cat >shell.c <<'EOF_C'
/* shell drop|announce|race: "drop" takes the program's notification icon
   away; "announce" sends "TaskbarCreated" to every top-level window;
   "race N PROGRAM" starts PROGRAM N times at the same moment (all made
   suspended, then let go together) and waits until all but one have ended,
   for at most 30 s: exit code 0 when they did, each with exit code 0. */
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int race(int count, const char* program) {
    PROCESS_INFORMATION started[8];
    HANDLE running[8];
    int i, ended = 0, clean = 1;
    if (count < 2 || count > 8) {
        return 2;
    }
    for (i = 0; i < count; i++) {
        STARTUPINFOA startup;
        char line[MAX_PATH + 2];
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        snprintf(line, sizeof line, "\"%s\"", program);
        if (!CreateProcessA(program, line, NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &startup, &started[i])) {
            return 3;
        }
        running[i] = started[i].hProcess;
    }
    for (i = 0; i < count; i++) {
        ResumeThread(started[i].hThread);
    }
    while (ended < count - 1) {
        DWORD code = 0, which = WaitForMultipleObjects((DWORD)(count - ended), running, FALSE, 30000);
        if (which >= (DWORD)(count - ended)) {
            return 1;
        }
        GetExitCodeProcess(running[which], &code);
        printf("a start ended with exit code %lu\n", code);
        clean = clean && code == 0;
        running[which] = running[count - ended - 1];
        ended++;
    }
    return clean ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "race") == 0) {
        return race(atoi(argv[2]), argv[3]);
    }
    if (argc == 2 && strcmp(argv[1], "drop") == 0) {
        NOTIFYICONDATAA icon;
        ZeroMemory(&icon, sizeof icon);
        icon.cbSize = sizeof icon;
        icon.hWnd = FindWindowA("Yanra_AppClass", "Yanra - Tibetan Input");
        icon.uID = 106;
        return icon.hWnd != NULL && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
    }
    if (argc == 2 && strcmp(argv[1], "announce") == 0) {
        return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0) ? 0 : 1;
    }
    return 2;
}
EOF_C
    "$CC" -O1 -static -o shell.exe shell.c || e2e_die "cannot build shell.exe"
}

shell() {
    timeout "$YANRA_E2E_TIMEOUT" wine "$E2E_DIR/shell.exe" "$1" >/dev/null 2>&1
}

# Prints the pids of the programs started from the test folder's yanra.exe,
# by Wine (a Unix path) or by a Windows program (a Windows one).
program_processes() {
    local cmdline
    for cmdline in /proc/[0-9]*/cmdline; do
        if tr '\0' ' ' 2>/dev/null <"$cmdline" | grep -qF -e "$E2E_DIR/yanra.exe" -e "$PROGRAM_WINDOWS_PATH"; then
            cmdline=${cmdline#/proc/}
            printf '%s ' "${cmdline%/cmdline}"
        fi
    done
}

main_windows() {
    xdotool search --name '^Yanra - Tibetan Input$' 2>/dev/null | wc -l
}

e2e_setup
build_shell_helper
e2e_start_typing_session
PROGRAM_WINDOWS_PATH=$(winepath -w "$E2E_DIR/yanra.exe" 2>/dev/null) || e2e_die "winepath fails"

expect_tray "the icon shows EWTS mode after start" ewts 1
read -r _ _ ICON_X ICON_Y < <(tray_scan)
e2e_wait_for "the start balloon to go" eval '! balloon_shown' || e2e_die "the start balloon stays"
e2e_check_typing "capslock switches to English" "{CAPS}"
expect_tray "the icon shows English mode" english 1

e2e_check "the shell's icon is taken away" shell drop
expect_tray "the notification area is empty" none 0
e2e_check "the new shell announces itself" shell announce
expect_tray "the icon comes back in English mode" english 1
sleep 1
e2e_check "it comes back without the start balloon" eval '! balloon_shown'
click_icon 1
expect_tray "the icon that came back switches the mode when clicked" ewts 1
# The engine's prediction flips with the click as with CapsLock.
E2E_TYPED+="{CAPS}"
e2e_focus "$E2E_RECEIVER_WINDOW"
e2e_check_typing "keys are transliterated after the shell's restart" "bkra shis "
e2e_check_typing "capslock switches to English again" "{CAPS}"
expect_tray "the icon follows the mode after the shell's restart" english 1
e2e_check "a second announcement while the icon is there" shell announce
sleep 1
expect_tray "adds no second icon" english 1
e2e_check_typing "capslock switches back to EWTS" "{CAPS}"
e2e_check_stop yanra.exe
e2e_check "the icon goes with the program" e2e_wait_for "the icon to go" tray_empty

# Starts at the same moment: all but one give way. The pointer rests where
# the icon will appear, so the shell may report a mouse move over it while the
# icon is being added: the icon must still come up in EWTS mode.
e2e_focus "$E2E_RECEIVER_WINDOW"
xdotool mousemove "$ICON_X" "$ICON_Y"
e2e_check "of 4 simultaneous starts 3 give way with exit code 0" \
    timeout 60 wine "$E2E_DIR/shell.exe" race 4 "$PROGRAM_WINDOWS_PATH"
e2e_check "one instance runs" test "$(program_processes | wc -w)" -eq 1
e2e_check "with one main window" test "$(main_windows)" -eq 1
expect_tray "and one icon, in EWTS mode" ewts 1
wine taskkill /im yanra.exe >/dev/null 2>&1
e2e_check "it ends" e2e_wait_for "the instance to end" eval '[ -z "$(program_processes)" ]'

# Starts and exits in a row.
failures=0
for ((i = 1; i <= STARTS; i++)); do
    e2e_start "$E2E_DIR/yanra.exe"
    if ! e2e_wait_for "start $i's window" eval '[ "$(main_windows)" -ge 1 ]' || ! e2e_stop yanra.exe; then
        failures=$((failures + 1))
        echo "e2e: start $i did not start and exit cleanly" >&2
    fi
done
e2e_check "$STARTS starts and exits in a row end with exit code 0" test "$failures" -eq 0
e2e_check "they leave no process behind" test -z "$(program_processes)"
e2e_check "they leave no icon behind" e2e_wait_for "the icons to go" tray_empty

e2e_finish
