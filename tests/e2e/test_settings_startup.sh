#!/usr/bin/env bash
# What the user sees at start-up for the settings in yanra.ini: the real
# yanra.exe under Wine, started in a folder with a prepared file.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
source "$here/settings_helpers.sh"

# stays_visible SECONDS: the main window stays on screen that long. A timer
# that should not exist can only be shown absent by waiting past the moment
# it would have fired; a slow machine can only make this pass wrongly, never
# fail wrongly.
stays_visible() {
    local until=$((SECONDS + $1))
    while [ "$SECONDS" -lt "$until" ]; do
        visible "$MAIN_TITLE" || return 1
        sleep 0.2
    done
}

# start_with START-HIDDEN AUTOHIDE DELAY: starts the program over that file.
start_with() {
    settings_text "$1" "$2" "$3" >"$E2E_DIR/yanra.ini"
    start_yanra
}

e2e_setup
settings_session

# No file: the defaults (shown, hidden 5 seconds later), and start-up does not
# create the file.
rm -f "$E2E_DIR/yanra.ini"
start_yanra
e2e_check "no file: the main window is shown" e2e_wait_for "the main window on screen" visible "$MAIN_TITLE"
e2e_check "no file: it hides itself after the default delay" e2e_wait_for "the autohide" hidden "$MAIN_TITLE"
e2e_check "no file: start-up does not create yanra.ini" test ! -e "$E2E_DIR/yanra.ini"
stop_yanra

start_with 0 1 3
e2e_check "autohide 3 s: the main window is shown" e2e_wait_for "the main window on screen" visible "$MAIN_TITLE"
e2e_check "autohide 3 s: it hides itself" e2e_wait_for "the autohide" hidden "$MAIN_TITLE"
stop_yanra

# A zero delay must start no timer at all (a zero elapse would fire at once).
start_with 0 1 0
e2e_check "delay 0: the main window is shown" e2e_wait_for "the main window on screen" visible "$MAIN_TITLE"
e2e_check "delay 0: it stays shown" stays_visible 3
stop_yanra

start_with 0 0 1
e2e_check "autohide off: the main window is shown" e2e_wait_for "the main window on screen" visible "$MAIN_TITLE"
e2e_check "autohide off: it stays shown past the delay" stays_visible 3
stop_yanra

# Start-hidden wins over autohide. With a delay longer than any wait, only
# start-hidden can hide the window.
start_with 1 1 600
e2e_check "start hidden: the main window is hidden" e2e_wait_for "the main window to be hidden" hidden "$MAIN_TITLE"
stop_yanra

# And no timer runs: a second start shows the window, and the autohide timer,
# had it been started, would hide it again once its delay is up.
start_with 1 1 4
e2e_wait_for "the main window to be hidden" hidden "$MAIN_TITLE"
cp "$E2E_DIR/yanra.exe" "$E2E_DIR/yanra-again.exe"
e2e_start "$E2E_DIR/yanra-again.exe"
e2e_check "start hidden: a second start shows the window" e2e_wait_for "the main window on screen" visible "$MAIN_TITLE"
e2e_wait_for "the second start to end" eval '! e2e_running yanra-again.exe'
e2e_check "start hidden: the second start ends with exit code 0" wait "${E2E_PID[yanra-again.exe]}"
e2e_check "start hidden: no autohide timer runs" stays_visible 6
stop_yanra

e2e_finish
