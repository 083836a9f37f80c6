#!/usr/bin/env bash
# The About dialog and the Mantras card: opened from the keyboard, and closed
# by OK, Escape and the caption's close button.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
source "$here/settings_helpers.sh"

# dialog_case NAME OPEN-KEYS TITLE CLOSE: opens a dialog with OPEN-KEYS typed
# into the main window and closes it with CLOSE (xdotool key names, or
# "button" for the close button).
dialog_case() {
    local name=$1 keys=$2 title=$3 close=$4 dialog
    if ! dialog=$(open_dialog "$keys" "$title"); then
        e2e_fail "$name: $keys opens \"$title\""
        return
    fi
    if [ "$close" = button ]; then
        click_close_button "$dialog"
    else
        xdotool key "$close"
    fi
    e2e_check "$name" wait_closed "$title"
}

e2e_setup
settings_session
settings_text 0 0 5 >"$E2E_DIR/yanra.ini"
start_yanra
e2e_wait_for "the main window on screen" visible "$MAIN_TITLE" || e2e_die "the main window never showed"

# Ctrl+M passes the hook in either mode (Ctrl is held).
dialog_case "Ctrl+M opens the Mantras card; OK closes it" ctrl+m "$MANTRAS_TITLE" Return
dialog_case "Ctrl+M opens the Mantras card; Escape closes it" ctrl+m "$MANTRAS_TITLE" Escape
dialog_case "Ctrl+M opens the Mantras card; the close button closes it" ctrl+m "$MANTRAS_TITLE" button

# On Windows the hook sees Alt held (LLKHF_ALTDOWN) and lets Alt+/ through in
# EWTS mode too. Wine never sets that flag, so in EWTS mode the hook would
# transliterate the "/" and the accelerator would never see it: switch to
# English mode first, with CapsLock, where every key passes.
e2e_focus "$MAIN_WINDOW"
xdotool key Caps_Lock
dialog_case "Alt+/ opens About; OK closes it" alt+slash "$ABOUT_TITLE" Return
dialog_case "Alt+? opens About; Escape closes it" alt+question "$ABOUT_TITLE" Escape
dialog_case "Alt+/ opens About; the close button closes it" alt+slash "$ABOUT_TITLE" button

# None of these dialogs touches the file.
e2e_check "About and Mantras leave yanra.ini alone" cmp -s <(settings_text 0 0 5) "$E2E_DIR/yanra.ini"
stop_yanra
e2e_finish
