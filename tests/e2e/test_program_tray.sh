#!/usr/bin/env bash
# The running program as a user meets it: the notification icon shows the
# mode, a left click on it and CapsLock switch the mode, the popup menu offers
# Restore or Hide as the window stands, the main window hides itself after the
# autohide delay, a second start brings the first window forward, and Exit
# (from the popup menu and from the menu bar) ends the program cleanly.
#
# Wine differs from Windows here, and the checks are shaped for it:
# - The icon is found by its colours in a screenshot of the task bar on the
#   virtual desktop: Wine draws the notification area inside that window and
#   gives the icons no windows of their own.
# - Wine's start balloon stays up for its minimum of 10 s (Windows clamps the
#   3 ms time-out the same way) and its tail covers the upper half of the icon;
#   clicks go to the lower half.
# - Menus are chosen with the mouse. Under Wine the program's call to bring
#   its hidden main window forward before tracking the popup does not move
#   the X keyboard focus, so the menu would not see typed keys; on Windows it
#   does, which is why the call is there.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/tray_helpers.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

MAIN_TITLE="Yanra - Tibetan Input"

main_visible() {
    [ -n "$(xdotool search --onlyvisible --name "^$MAIN_TITLE\$" 2>/dev/null)" ]
}

# expect_main NAME shown|hidden
expect_main() {
    local state
    if [ "$2" = shown ]; then
        e2e_wait_for "the main window to be shown" main_visible && state=$2
    else
        e2e_wait_for "the main window to be hidden" eval '! main_visible' && state=$2
    fi
    if [ "${state:-}" = "$2" ]; then
        e2e_pass "$1"
    else
        e2e_fail "$1"
    fi
}

# in_front WINDOW OTHER: succeeds when WINDOW is above OTHER and its caption
# is drawn active (blue, not grey). Wine brings a window forward on its
# virtual desktop without moving the X keyboard focus, so the focus does not
# tell.
in_front() {
    local id top= x y w h r g b
    # The tree lists the desktop's windows top first.
    while read -r id; do
        id=$((id))
        if [ "$id" = "$1" ] || [ "$id" = "$2" ]; then
            top=$id
            break
        fi
    done < <(xwininfo -root -tree | grep -oE '^ +0x[0-9a-f]+')
    [ "$top" = "$1" ] || return 1
    read -r x y w h < <(e2e_window_geometry "$1")
    read -r r g b < <(import -window root -crop "1x1+$((x + w / 2))+$((y + 10))" -depth 8 rgb:- 2>/dev/null |
        od -An -tu1)
    [ "${b:-0}" -gt $((${r:-0} + 80)) ]
}

# A minimised window sits off the screen as a short caption, as on Windows.
minimised() {
    local x y w h
    read -r x y w h < <(e2e_window_geometry "$1")
    [ "$x" -lt 0 ] && [ "$h" -lt 40 ]
}

# A popup menu of the program: a window of yanra.exe without a title. Prints
# "X Y WIDTH HEIGHT".
popup_geometry() {
    local id
    for id in $(xdotool search --onlyvisible --class '^yanra\.exe$' 2>/dev/null); do
        if [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]; then
            e2e_window_geometry "$id"
            return 0
        fi
    done
    return 1
}

# choose_in_popup first|last: clicks the first or the last item of the open
# popup menu (the items are about 17 pixels high). The last one is clicked
# near its bottom edge: the icon's tooltip may cover its upper half.
choose_in_popup() {
    local x y w h
    e2e_wait_for "a popup menu to open" popup_geometry >/dev/null || return 1
    read -r x y w h < <(popup_geometry)
    if [ "$1" = first ]; then
        xdotool mousemove $((x + w / 2)) $((y + 10)) click 1
    else
        xdotool mousemove $((x + w / 2)) $((y + h - 6)) click 1
    fi
    e2e_wait_for "the popup menu to close" eval '! popup_geometry >/dev/null'
}

# check_passes NAME KEYS LETTERS: types lower-case KEYS and expects them to
# arrive untouched, as LETTERS (their key names) pressed and released.
check_passes() {
    local name=$1 keys=$2 letter before
    before=$(e2e_count_lines "$E2E_KEY_LOG")
    : >"$E2E_DIR/passes.expected"
    for letter in $3; do
        printf 'down %s\nup %s\n' "$letter" "$letter" >>"$E2E_DIR/passes.expected"
    done
    E2E_TYPED+=$keys
    e2e_type "$keys"
    e2e_wait_lines "$E2E_KEY_LOG" $((before + $(wc -l <"$E2E_DIR/passes.expected")))
    tail -n +$((before + 1)) "$E2E_KEY_LOG" >"$E2E_DIR/passes.actual"
    e2e_compare "$name" "$E2E_DIR/passes.expected" "$E2E_DIR/passes.actual"
}

# A click on the icon flips the mode inside the library, as CapsLock does: the
# prediction goes on as if a CapsLock had been typed (its own key-up, which
# never arrives, falls into what the earlier checks covered).
mode_flipped_by_click() {
    E2E_TYPED+="{CAPS}"
}

refocus_receiver() {
    e2e_focus "$E2E_RECEIVER_WINDOW" || e2e_die "cannot focus the receiver"
}

# expect_exit NAME: waits for the started yanra.exe to end and checks its exit
# code and that no yanra.exe process is left.
expect_exit() {
    local status
    if e2e_wait_for "yanra.exe to end" eval '! e2e_running yanra.exe'; then
        wait "${E2E_PID[yanra.exe]}"
        status=$?
    else
        status=timeout
    fi
    if [ "$status" = 0 ] && [ -z "$(test_processes)" ]; then
        e2e_pass "$1: exit code 0, no process left"
    else
        e2e_fail "$1: exit code $status, processes left: $(test_processes)"
    fi
}

# The pids of the program started from the test folder (other tests may run
# their own yanra.exe at the same time).
test_processes() {
    local cmdline
    for cmdline in /proc/[0-9]*/cmdline; do
        if tr '\0' ' ' 2>/dev/null <"$cmdline" | grep -qF "$E2E_DIR/yanra.exe"; then
            cmdline=${cmdline#/proc/}
            printf '%s ' "${cmdline%/cmdline}"
        fi
    done
}

e2e_setup
e2e_start_typing_session
main_window=$(e2e_wait_window "$MAIN_TITLE") || e2e_die "no main window"

expect_tray "the icon shows EWTS mode after start" ewts 1
expect_main "the main window hides itself after the autohide delay" hidden

# The mode, from the icon and from CapsLock.
click_icon 1
expect_tray "a left click switches the icon to English mode" english 1
mode_flipped_by_click
refocus_receiver
check_passes "in English mode keys pass untouched" "tibet " "T I B E T VK_SPACE"
click_icon 1
expect_tray "a second left click switches the icon back to EWTS mode" ewts 1
mode_flipped_by_click
refocus_receiver
e2e_check_typing "back in EWTS mode keys are transliterated" "bkra shis "
e2e_check_typing "capslock switches to English" "{CAPS}"
expect_tray "capslock shows English mode on the icon" english 1
e2e_check_typing "keys typed after capslock pass" "bkra shis "
e2e_check_typing "capslock switches back to EWTS" "{CAPS}bkra shis "
expect_tray "capslock shows EWTS mode on the icon again" ewts 1

# The popup menu's first item follows the window: Restore while it is hidden,
# Hide while it is shown.
click_icon 3
choose_in_popup first || e2e_fail "the popup menu did not open"
expect_main "with the window hidden the popup's first item restores it" shown
click_icon 3
choose_in_popup first || e2e_fail "the popup menu did not open"
expect_main "with the window shown the popup's first item hides it" hidden

# A second start shows and raises the first window, and ends with code 0.
refocus_receiver
second_status=0
timeout "$YANRA_E2E_TIMEOUT" wine "$E2E_DIR/yanra.exe" >"$E2E_DIR/second.out" 2>&1 || second_status=$?
if [ "$second_status" -eq 0 ]; then
    e2e_pass "a second start ends with exit code 0"
else
    e2e_fail "a second start ends with exit code $second_status"
fi
expect_main "a second start shows the first instance's window" shown
if e2e_wait_for "the main window to come to the front" in_front "$main_window" "$E2E_RECEIVER_WINDOW"; then
    e2e_pass "a second start brings the first instance's window to the front"
else
    e2e_fail "a second start brings the first instance's window to the front"
fi
expect_tray "a second start adds no second icon" ewts 1
e2e_running yanra.exe || e2e_fail "the first instance ended"

# A minimised window is restored by a second start, not merely shown.
read -r x y w h < <(e2e_window_geometry "$main_window")
xdotool mousemove $((x + w - 50)) $((y + 12)) click 1  # the caption's minimise button
e2e_wait_for "the main window to be minimised" minimised "$main_window" || e2e_die "cannot minimise the main window"
timeout "$YANRA_E2E_TIMEOUT" wine "$E2E_DIR/yanra.exe" >"$E2E_DIR/third.out" 2>&1
if e2e_wait_for "the main window to be restored" eval '! minimised "$main_window"'; then
    e2e_pass "a second start restores the minimised window"
else
    e2e_fail "a second start restores the minimised window"
fi

# Exit from the popup menu.
click_icon 3
choose_in_popup last || e2e_fail "the popup menu did not open"
expect_exit "Exit in the popup menu ends the program"
expect_tray "the icon is gone after Exit in the popup menu" none 0
refocus_receiver
check_passes "keys pass untouched once the program has ended" "ka" "K A"

# Exit from the menu bar, in a new run.
e2e_start "$E2E_DIR/yanra.exe"
expect_tray "a new start shows the icon" ewts 1
main_window=$(e2e_wait_window "$MAIN_TITLE") || e2e_die "no main window"
e2e_wait_for "the main window to be shown" main_visible || e2e_die "the main window is not shown"
read -r x y w h < <(e2e_window_geometry "$main_window")
# "File" on the menu bar, under the caption.
xdotool mousemove $((x + 17)) $((y + 34)) click 1
choose_in_popup first || e2e_fail "the File menu did not open"
expect_exit "File, Exit ends the program"
expect_tray "the icon is gone after File, Exit" none 0

e2e_finish
