#!/usr/bin/env bash
# Start-up failures of the program: without zelbo.dll, and with a zelbo.dll
# that lacks Dzapo_Init, yanra.exe shows its error box for the failure and then
# "Could not create window", each dismissed with a key, ends with exit code 0
# and leaves no icon and no process behind.
#
# Two small Windows programs are built here with the cross compiler: a
# zelbo.dll with an unrelated export, and boxtext.exe, which prints the texts
# of an open message box (its static controls) so that the box can be read.
#
# Wine differs from Windows in the system's text for an error code ("Module
# not found." where Windows says "The specified module could not be found."),
# so the third line of a box is only checked to be there; and it leaves the
# last error at 0 after a window creation that its own handler refused, so the
# code of "Could not create window" is not checked either. The second box
# comes after the failed window's destruction has posted the quit message:
# Windows' message box closes at once when it finds that message, Wine's
# swallows it and stays. The program drops the message before the box, so the
# box stays up on both, but under Wine this test cannot see the difference.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tray_helpers.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

CC=${YANRA_E2E_CC:-$YANRA_MINGW-gcc}
BOX_CAPTION="Yanra Fatal"

build_helpers() {
    command -v "$CC" >/dev/null || e2e_die "$CC is not installed (run scripts/setup)"
    cat >boxtext.c <<'EOF'
/* boxtext CAPTION: prints the texts of the open message box titled CAPTION,
   one static control after another; exit code 1 when there is no such box. */
#include <windows.h>
#include <stdio.h>

static BOOL CALLBACK PrintStatic(HWND child, LPARAM unused) {
    char kind[32], text[1024];
    (void)unused;
    GetClassNameA(child, kind, sizeof kind);
    if (lstrcmpiA(kind, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
        printf("%s\n", text);
    }
    return TRUE;
}

int main(int argc, char** argv) {
    HWND box = argc == 2 ? FindWindowA("#32770", argv[1]) : NULL;
    if (box == NULL || !IsWindowVisible(box)) {
        return 1;
    }
    EnumChildWindows(box, PrintStatic, 0);
    return 0;
}
EOF
    cat >unrelated.c <<'EOF'
/* A zelbo.dll that loads but has no Dzapo_Init. */
__declspec(dllexport) int Unrelated(void) { return 0; }
EOF
    "$CC" -O1 -static -o boxtext.exe boxtext.c || e2e_die "cannot build boxtext.exe"
    mkdir -p without-init without-library
    "$CC" -O1 -shared -static-libgcc -o without-init/zelbo.dll unrelated.c || e2e_die "cannot build the test zelbo.dll"
    cp "$YANRA_E2E_PROGRAM" without-init/ && cp "$YANRA_E2E_PROGRAM" without-library/ || e2e_die "cannot copy yanra.exe"
}

# Prints the open error box's text, line ends as plain newlines.
box_text() {
    wine "$E2E_DIR/boxtext.exe" "$BOX_CAPTION" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

box_starts_with() {
    box_text | head -n 1 | grep -qxF -- "$1"
}

# expect_box NAME MESSAGE [CODE]: waits for the error box with MESSAGE, checks
# its lines (MESSAGE., "Error code=CODE" when CODE is given, and some text of
# the system's), and dismisses it with the Enter key.
expect_box() {
    local name=$1 message=$2 code=${3:-} text id
    if ! e2e_wait_for "the box \"$message\"" box_starts_with "$message."; then
        e2e_fail "$name (box: $(box_text | tr '\n' '|'))"
        return 1
    fi
    text=$(box_text)
    if [ "$(sed -n 1p <<<"$text")" = "$message." ] &&
        sed -n 2p <<<"$text" | grep -qx "Error code=${code:-[0-9]*}" &&
        [ -n "$(sed -n 3p <<<"$text")" ]; then
        e2e_pass "$name"
    else
        e2e_fail "$name (box: $(tr '\n' '|' <<<"$text"))"
    fi
    id=$(xdotool search --onlyvisible --name "^$BOX_CAPTION\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || e2e_die "the box has no X window"
    e2e_focus "$id"
    xdotool key Return
    e2e_wait_for "the box \"$message\" to close" eval '! box_starts_with "$message."'
}

# expect_clean_end NAME FOLDER: the program started from FOLDER ended with exit
# code 0, left no process and no icon.
expect_clean_end() {
    local name=$1 folder=$2 status cmdline left=
    if e2e_wait_for "yanra.exe to end" eval '! e2e_running yanra.exe'; then
        wait "${E2E_PID[yanra.exe]}"
        status=$?
    else
        status=timeout
    fi
    for cmdline in /proc/[0-9]*/cmdline; do
        tr '\0' ' ' 2>/dev/null <"$cmdline" | grep -qF "$folder/yanra.exe" && left+="${cmdline#/proc/} "
    done
    if [ "$status" = 0 ] && [ -z "$left" ]; then
        e2e_pass "$name: exit code 0, no process left"
    else
        e2e_fail "$name: exit code $status, processes left: $left"
    fi
    if tray_empty; then
        e2e_pass "$name: no icon left behind"
    else
        e2e_fail "$name: an icon is left in the notification area"
    fi
}

e2e_setup
build_helpers
e2e_start_xvfb
e2e_prepare_wine
# Some program has to keep Wine's desktop and its task bar up, so that the
# notification area can be looked at after yanra.exe has ended.
e2e_copy "$E2E_RECEIVER"
e2e_start "$E2E_DIR/yanra-receiver.exe" keys.log
e2e_wait_window "$E2E_RECEIVER_TITLE" >/dev/null || e2e_die "the receiver did not open its window"

# No zelbo.dll anywhere on the search path: not beside the program, not in
# the working directory.
e2e_start "$E2E_DIR/without-library/yanra.exe"
expect_box "a missing zelbo.dll is reported" "Could not load hook library" 126
expect_box "then the window's creation failure" "Could not create window"
expect_clean_end "without zelbo.dll" "$E2E_DIR/without-library"

e2e_start "$E2E_DIR/without-init/yanra.exe"
expect_box "a zelbo.dll without Dzapo_Init is reported" "Could not get proc address" 127
expect_box "then the window's creation failure" "Could not create window"
expect_clean_end "without Dzapo_Init" "$E2E_DIR/without-init"

e2e_finish
