#!/usr/bin/env bash
# The Settings dialog driven with real keys and clicks: what each way of
# closing it writes to yanra.ini, byte for byte, and how its controls follow
# the start-hidden box. The program is switched to English mode first (with a
# click on its icon), as a user filling in a dialog would: in EWTS mode the space bar and the digits
# type Tibetan characters (the tsheg does not press a button, and the delay
# field does not take Tibetan digits), with any layout. Tab, space, digits,
# Escape and Return then go through the hook and reach the dialog as keys.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
source "$here/settings_helpers.sh"
source "$here/tray_helpers.sh"

# press KEYS...: xdotool key names, one after the other, into the focused
# dialog.
press() {
    xdotool key --delay 30 "$@"
}

# settings_case NAME START-HIDDEN AUTOHIDE DELAY KEYS...: removes yanra.ini,
# opens the dialog, presses KEYS, and checks that the dialog closed and wrote
# the file with those values. Removing the file first shows that closing the
# dialog wrote it, whatever it held before.
settings_case() {
    local name=$1 startHidden=$2 autoHide=$3 delay=$4
    shift 4
    rm -f "$E2E_DIR/yanra.ini"
    open_settings >/dev/null
    press "$@"
    if ! wait_closed "$SETTINGS_TITLE"; then
        import -window root "$E2E_DIR/failure.png" 2>/dev/null
        e2e_fail "$name: the dialog did not close (the focus: $(xdotool getwindowfocus getwindowname 2>&1))"
        e2e_die "cannot go on with the Settings dialog open"
    fi
    check_file "$name" "$startHidden" "$autoHide" "$delay"
}

# click_spin_down DIALOG: clicks the down arrow of the delay's up-down control.
# Child controls have no X windows of their own under Wine, so the arrow is
# found from the dialog's size: the template is 282 x 142 dialog units, and
# the up-down control sits at the right end of the delay field (x 156 to 165,
# y 48 to 60 units), where it moves itself to lie beside its buddy.
click_spin_down() {
    local x y w h unitX unitY border
    read -r x y w h < <(e2e_window_geometry "$1")
    # Under Wine's default theme the dialog frame is 3 pixels and the
    # caption 19: the client area is what is left.
    border=3
    unitX=$(awk -v w="$w" -v b="$border" 'BEGIN {print (w - 2 * b) / 282}')
    unitY=$(awk -v h="$h" -v b="$border" 'BEGIN {print (h - 2 * b - 19) / 142}')
    xdotool mousemove \
        "$(awk -v x="$x" -v b="$border" -v u="$unitX" 'BEGIN {printf "%d", x + b + 160.5 * u}')" \
        "$(awk -v y="$y" -v h="$h" -v b="$border" -v u="$unitY" 'BEGIN {printf "%d", y + h - b - (142 - 57) * u}')" \
        click 1
}

e2e_setup
settings_session

# AutoHide 2 acts as on; a delay long enough that the window is still there
# for the first Ctrl+S (opening the dialog cancels the autohide for the run).
settings_text 0 2 30 >"$E2E_DIR/yanra.ini"
start_yanra
e2e_wait_for "the main window on screen" visible "$MAIN_TITLE" || e2e_die "the main window never showed"
# A click on the icon rather than CapsLock: a key would let Wine send its own
# CapsLock tap with a later key when it finds its CapsLock state differing from
# the X server's, which would switch back.
e2e_wait_for "the icon" tray_shows ewts 1 || e2e_die "no icon in EWTS mode"
click_icon 1
e2e_wait_for "English mode on the icon" tray_shows english 1 || e2e_die "a click on the icon did not switch to English mode"

# Cancel, Escape and the close button write the settings as they are in
# memory: AutoHide stays 2.
settings_case "Cancel writes the settings unchanged" 0 2 30 Tab space
settings_case "Escape writes the settings unchanged" 0 2 30 Escape
rm -f "$E2E_DIR/yanra.ini"
click_close_button "$(open_settings)"
e2e_check "the close button closes the dialog" wait_closed "$SETTINGS_TITLE"
check_file "the close button writes the settings unchanged" 0 2 30

# OK stores the check state: AutoHide 2 comes back as 1.
settings_case "OK stores AutoHide 2 as 1" 0 1 30 Return

# A click on the up-down control's down arrow lowers the delay by one, and OK
# stores what the field then holds.
rm -f "$E2E_DIR/yanra.ini"
dialog=$(open_settings)
click_spin_down "$dialog"
e2e_focus "$dialog"
press Return
wait_closed "$SETTINGS_TITLE" || e2e_die "the Settings dialog did not close on Return"
check_file "a click on the down arrow lowers the delay" 0 1 29

# Checking start-hidden disables the autohide box and the delay field, so the
# next Tab skips them and lands on OK, and space presses OK. The up-down
# control is left enabled, so that its arrows stay usable; Wine's up-down
# control, however, takes itself for disabled while its buddy field is and
# ignores clicks then, so under Wine that part cannot be seen from outside.
settings_case "start-hidden disables the autohide controls" 1 1 29 Tab Tab space Tab space

# Opened with start-hidden on, the box shows checked and the autohide
# controls start disabled: Tab from the box goes straight on to OK.
settings_case "opened with start-hidden on, the autohide controls are disabled" 1 1 29 Tab Tab Tab space

# Unchecking start-hidden enables both at once; the field takes 45, beyond the
# arrows' range, and OK stores it as typed (Tab selects the field's text).
settings_case "unchecking start-hidden enables the controls; 45 is stored" 0 0 45 \
    Tab Tab space Tab space Tab 4 5 Return
settings_case "an emptied delay field stores 0" 0 0 0 Tab Tab Tab Tab BackSpace Return
settings_case "the up arrow stops at 30" 0 0 30 Tab Tab Tab Tab 2 8 Up Up Up Up Return
settings_case "the down arrow stops at 0" 0 0 0 Tab Tab Tab Tab 2 Down Down Down Down Return

e2e_check "the program runs on" e2e_running yanra.exe
stop_yanra
e2e_finish
