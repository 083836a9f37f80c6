# The shared library of the end-to-end tests: the real Windows binaries run
# under Wine on a private Xvfb display, and xdotool types into them with real
# (XTEST) key events, which reach the low-level keyboard hook as user input.
#
# Source it from a test script, then call e2e_setup first. Every wait has a
# timeout; on exit everything the test started is ended (its Wine programs, the
# wineserver of its prefix, its Xvfb) and the test folder removed, unless the
# test failed or YANRA_E2E_KEEP is set.
#
# Inputs, from the environment (ctest sets the first three):
#   YANRA_ROOT          the repository (default: found from this file)
#   YANRA_E2E_BUILD     the Windows build with the .exe and .dll files (default build/windows,
#                       or build/windows64 where only 64-bit programs run: see scripts/wine-env)
#   YANRA_SIM           the native yanra-sim whose predictions count (default build/native/tools/yanra-sim)
#   YANRA_E2E_PROGRAM   the program under test: the Windows program that loads zelbo and
#                       runs the hook (default: the test host of the Windows build)
#   YANRA_WINEPREFIX    the Wine prefix (default build/wineprefix, see scripts/wine-env)
#   YANRA_E2E_TIMEOUT   seconds that any one wait may take (default 30)
#   YANRA_E2E_KEEP      when set, the test folder is kept
#
# Set for the test: E2E_DIR (the test folder, also the working directory of the
# test and of every program it starts), DISPLAY, WINEPREFIX and the rest of
# scripts/wine-env, E2E_PID[NAME] (the pid of each started program, by file name).

set -uo pipefail

YANRA_ROOT=${YANRA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
# The Wine environment, and the Windows build that runs on this machine.
# shellcheck source=../../scripts/wine-env
source "$YANRA_ROOT/scripts/wine-env"
YANRA_E2E_BUILD=${YANRA_E2E_BUILD:-$YANRA_WINDOWS_BUILD}
# The cross compiler for the small helper programs that some tests build.
if [ "$YANRA_WINE_ARCH" = win64 ]; then
    YANRA_MINGW=x86_64-w64-mingw32
else
    YANRA_MINGW=i686-w64-mingw32
fi
YANRA_SIM=${YANRA_SIM:-$YANRA_ROOT/build/native/tools/yanra-sim}
YANRA_E2E_PROGRAM=${YANRA_E2E_PROGRAM:-$YANRA_E2E_BUILD/tools/testhost/yanra-testhost.exe}
YANRA_E2E_TIMEOUT=${YANRA_E2E_TIMEOUT:-30}

E2E_RECEIVER=$YANRA_E2E_BUILD/tools/receiver/yanra-receiver.exe
E2E_LIBRARY=$YANRA_E2E_BUILD/engine/zelbo.dll
E2E_RECEIVER_TITLE="Yanra Receiver"

E2E_DIR=
E2E_XVFB_PID=
E2E_WINE_STARTED=0
E2E_PASSED=0
E2E_FAILED=0
declare -A E2E_PID=()

# Prints a message and ends the test as failed; the EXIT trap cleans up.
e2e_die() {
    echo "e2e: FATAL: $*" >&2
    exit 1
}

# Creates the test folder, makes it the working directory and installs the
# cleanup. Checks that the tools and the binaries are there.
e2e_setup() {
    local tool file
    for tool in Xvfb xdotool xkbcomp wine wineserver timeout; do
        command -v "$tool" >/dev/null || e2e_die "$tool is not installed (run scripts/setup)"
    done
    for file in "$YANRA_SIM" "$YANRA_E2E_PROGRAM" "$E2E_RECEIVER" "$E2E_LIBRARY"; do
        [ -f "$file" ] || e2e_die "$file is missing (build the native and the Windows presets)"
    done
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/yanra-e2e.XXXXXX") || e2e_die "cannot create a test folder"
    cd "$E2E_DIR" || e2e_die "cannot enter $E2E_DIR"
    trap e2e_cleanup EXIT
}

# Ends what the test started, in order: the Wine programs and the wineserver
# of this prefix (the test restarted it, so nobody else's programs run in
# it), then Xvfb. Keeps the test folder when the test failed.
e2e_cleanup() {
    local status=$?
    if [ "$E2E_WINE_STARTED" = 1 ]; then
        wineserver -k >/dev/null 2>&1
        timeout 20 wineserver -w >/dev/null 2>&1
    fi
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    if [ -n "$E2E_DIR" ]; then
        cd / || true
        if [ "$status" -ne 0 ] || [ -n "${YANRA_E2E_KEEP:-}" ]; then
            echo "e2e: test folder kept: $E2E_DIR" >&2
        else
            rm -rf "$E2E_DIR"
        fi
    fi
    exit "$status"
}

# e2e_wait_for DESCRIPTION COMMAND [ARGS...]: runs COMMAND every 50 ms until
# it succeeds; after YANRA_E2E_TIMEOUT seconds says what it waited for and
# fails.
e2e_wait_for() {
    local description=$1
    shift
    local deadline=$((SECONDS + YANRA_E2E_TIMEOUT))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "e2e: timed out after ${YANRA_E2E_TIMEOUT}s waiting for $description" >&2
            return 1
        fi
        sleep 0.05
    done
}

# Starts a private Xvfb and exports its DISPLAY. No autorepeat (-r): xdotool
# holds keys long enough for the server to repeat them. -noreset keeps the
# keymap that e2e_load_keymap loads when clients come and go.
e2e_start_xvfb() {
    Xvfb -displayfd 3 -r -noreset -nolisten tcp -screen 0 1024x768x24 \
        3>"$E2E_DIR/display" >"$E2E_DIR/xvfb.out" 2>&1 &
    E2E_XVFB_PID=$!
    e2e_wait_for "Xvfb to start" grep -q '[0-9]' "$E2E_DIR/display" ||
        e2e_die "Xvfb did not start: $(cat "$E2E_DIR/xvfb.out")"
    export DISPLAY=":$(tr -dc 0-9 <"$E2E_DIR/display")"
}

# Loads a keymap in which CapsLock keeps its key code and keysym (Wine still
# reports VK_CAPITAL) but no longer locks. Otherwise a CapsLock that the hook
# swallows still toggles the X server's lock, and Wine, seeing its own state
# differ, sends a CapsLock press of its own with the next key.
e2e_load_keymap() {
    xkbcomp -xkb "$DISPLAY" "$E2E_DIR/keymap.xkb" >/dev/null 2>&1 || e2e_die "cannot read the keymap"
    sed '/interpret Caps_Lock/,/};/ s/LockMods([^)]*)/NoAction()/' "$E2E_DIR/keymap.xkb" >"$E2E_DIR/nolock.xkb"
    xkbcomp -w 0 "$E2E_DIR/nolock.xkb" "$DISPLAY" >/dev/null 2>&1 || e2e_die "cannot load the keymap"
    xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -A2 'interpret Caps_Lock' | grep -q 'NoAction()' ||
        e2e_die "CapsLock still locks after loading the keymap"
}

# Prepares the Wine prefix (created once, with the virtual desktop) and starts
# a fresh, persistent wineserver for it. A server left running from before
# could hold a desktop on another X display, where our windows would go.
e2e_prepare_wine() {
    wine_env_prepare || e2e_die "cannot prepare the Wine prefix $WINEPREFIX"
    E2E_WINE_STARTED=1
    wineserver -k >/dev/null 2>&1
    timeout 20 wineserver -w >/dev/null 2>&1
    wineserver -p || e2e_die "cannot start wineserver"
}

# e2e_copy FILE...: copies files into the test folder, where the programs run
# (the DLL must sit beside the program that loads it).
e2e_copy() {
    cp "$@" "$E2E_DIR/" || e2e_die "cannot copy $* into the test folder"
}

# e2e_start PROGRAM [ARGS...]: starts a Windows program in the background
# under Wine, in the test folder; its output goes to NAME.out there and its
# pid to E2E_PID[NAME], NAME being the program's file name.
e2e_start() {
    local program=$1
    shift
    local name
    name=$(basename "$program")
    wine "$program" "$@" >"$E2E_DIR/$name.out" 2>&1 &
    E2E_PID[$name]=$!
}

# e2e_start_in FOLDER PROGRAM [ARGS...]: starts a Windows program as a user
# does from Explorer: by its Windows path (winepath -w), with FOLDER as its
# working directory. Output and pid as for e2e_start.
e2e_start_in() {
    local folder=$1 program=$2
    shift 2
    local name path
    name=$(basename "$program")
    path=$(winepath -w "$program" 2>/dev/null) && [ -n "$path" ] || e2e_die "winepath cannot convert $program"
    (cd "$folder" && exec wine "$path" "$@") >"$E2E_DIR/$name.out" 2>&1 &
    E2E_PID[$name]=$!
}

# e2e_running NAME: succeeds while the program started as NAME runs.
e2e_running() {
    local pid=${E2E_PID[$1]:-} state
    [ -n "$pid" ] || return 1
    state=$(ps -o stat= -p "$pid" 2>/dev/null)
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

e2e_ended() {
    ! e2e_running "$1"
}

# e2e_stop NAME: sends WM_CLOSE to the program's top-level windows (hidden
# ones too) and waits for it to end. Returns the program's exit code, or 124
# when it did not end in time.
e2e_stop() {
    local name=$1
    wine taskkill /im "$name" >/dev/null 2>&1
    if ! e2e_wait_for "$name to end" e2e_ended "$name"; then
        return 124
    fi
    wait "${E2E_PID[$name]}"
}

# e2e_wait_window TITLE: waits for a window whose title is exactly TITLE and
# prints its X window id. (xdotool matches titles ignoring case.)
e2e_wait_window() {
    local title=$1 pattern id
    pattern=$(printf '%s' "$title" | sed 's/[][\.*^$(){}?+|]/\\&/g')
    id=$(timeout "$YANRA_E2E_TIMEOUT" xdotool search --sync --name "^$pattern\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] || { echo "e2e: no window titled \"$title\" within ${YANRA_E2E_TIMEOUT}s" >&2; return 1; }
    echo "$id"
}

# e2e_window_geometry WINDOW: prints "X Y WIDTH HEIGHT" of an X window on the
# screen. (xdotool's getwindowgeometry counts the offset of Wine's virtual
# desktop twice, so xwininfo is asked.)
e2e_window_geometry() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /Width/ { w = $2 } /Height/ { h = $2 }
        END { print x + 0, y + 0, w + 0, h + 0 }'
}

# e2e_focus WINDOW: gives the keyboard focus to an X window (an id from
# e2e_wait_window). Wine names a window before it maps it, and focusing an
# unmapped window fails at once, so this tries again until the focus is there
# or the time is up.
e2e_focus() {
    e2e_wait_for "the focus on window $1" e2e_try_focus "$1"
}

e2e_try_focus() {
    timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1
}

# e2e_wait_file FILE [LINE]: waits until FILE exists, and when LINE is given,
# until it has that exact line.
e2e_wait_file() {
    if [ $# -ge 2 ]; then
        e2e_wait_for "the line \"$2\" in $1" grep -qxF -- "$2" "$1" 2>/dev/null
    else
        e2e_wait_for "$1" test -e "$1"
    fi
}

# e2e_count_lines FILE: prints the number of complete lines in FILE (0 when
# it does not exist).
e2e_count_lines() {
    if [ -e "$1" ]; then
        wc -l <"$1"
    else
        echo 0
    fi
}

e2e_has_lines() {
    [ "$(e2e_count_lines "$1")" -ge "$2" ]
}

# e2e_wait_lines FILE COUNT: waits until FILE has at least COUNT lines, then
# until it stops growing (no new line for 300 ms), so that lines beyond the
# expected ones show up too. Fails when COUNT is not reached in time.
e2e_wait_lines() {
    local file=$1 count=$2 lines previous
    e2e_wait_for "$count lines in $file" e2e_has_lines "$file" "$count" || return 1
    previous=-1
    lines=$(e2e_count_lines "$file")
    while [ "$lines" != "$previous" ]; do
        previous=$lines
        sleep 0.3
        lines=$(e2e_count_lines "$file")
    done
}

# e2e_type KEYS: types KEYS (the yanra-sim language) into the focused window:
# yanra-sim works out the key presses and releases, and one xdotool run sends
# them all, so nothing else comes between them.
e2e_type() {
    local actions count
    actions=$(printf '%s' "$1" | "$YANRA_SIM" xdotool) || e2e_die "yanra-sim cannot type: $1"
    count=$(printf '%s\n' "$actions" | wc -l)
    # shellcheck disable=SC2086  # one word per xdotool argument
    timeout $((YANRA_E2E_TIMEOUT + count / 10)) xdotool $actions || e2e_die "xdotool failed typing: $1"
}

# e2e_type_burst KEYS [DELAY]: types KEYS as e2e_type does, with DELAY
# milliseconds between X key events (default 0: as fast as xdotool goes,
# about 9,000 events a second).
e2e_type_burst() {
    local actions delay=${2:-0}
    actions=$(printf '%s' "$1" | "$YANRA_SIM" xdotool | sed "s/^\(key[a-z]*\) /\1 --delay $delay /") ||
        e2e_die "yanra-sim cannot type: $1"
    # shellcheck disable=SC2086  # one word per xdotool argument
    timeout 600 xdotool $actions || e2e_die "xdotool failed typing a burst"
}

# e2e_compare NAME EXPECTED ACTUAL: compares two files; counts the result and
# prints a readable diff when they differ.
e2e_compare() {
    local name=$1 expected=$2 actual=$3
    if diff -u --label "expected ($name)" --label "actual ($name)" "$expected" "$actual" >"$E2E_DIR/diff"; then
        e2e_pass "$name"
    else
        e2e_fail "$name"
        sed 's/^/    /' "$E2E_DIR/diff"
    fi
}

# e2e_pass NAME / e2e_fail NAME: counts one checked case.
e2e_pass() {
    E2E_PASSED=$((E2E_PASSED + 1))
    echo "ok: $1"
}

e2e_fail() {
    E2E_FAILED=$((E2E_FAILED + 1))
    echo "FAIL: $1"
}

# e2e_check NAME COMMAND [ARGS...]: one checked case: passes when the command
# succeeds.
e2e_check() {
    local name=$1
    shift
    if "$@"; then
        e2e_pass "$name"
    else
        e2e_fail "$name"
    fi
}

# e2e_check_stop NAME: closes the program as e2e_stop does; one case, passed
# when it ends with exit code 0.
e2e_check_stop() {
    local status=0
    e2e_stop "$1" || status=$?
    if [ "$status" -eq 0 ]; then
        e2e_pass "$1 ends with exit code 0"
    else
        e2e_fail "$1 ends with exit code $status"
    fi
}

# Prints the summary line and ends the test: failed when any case failed.
e2e_finish() {
    echo "$E2E_PASSED passed, $E2E_FAILED failed"
    [ "$E2E_FAILED" -eq 0 ] && [ "$E2E_PASSED" -gt 0 ]
    exit $?
}

# --- The typing session: the program under test with its hook, and the
# receiver focused, recording every key message to keys.log. ---

E2E_KEY_LOG=keys.log
# The keyboard layout that applications type with under Wine: it loads no
# Windows layouts, and the X server's keymap is the US one. So the engine sends
# the Tibetan characters themselves wherever a key would type Latin, and the
# key messages are predicted for that layout.
E2E_APP_LAYOUT=us
E2E_TYPED=
E2E_RECEIVER_WINDOW=
# The text that the receiver shows through the Tibetan layout (UTF-8, written
# beside the key log), and what it showed when the session's checks began:
# the text of the hook probes.
E2E_TEXT_FILE=$E2E_KEY_LOG.txt
E2E_TEXT_BEFORE=

# e2e_start_typing_session [PROGRAM-ARGS...]: starts Xvfb, Wine, the program
# under test (with the given arguments) and the receiver, focuses the
# receiver and waits until typed keys go through the hook to it.
e2e_start_typing_session() {
    e2e_start_xvfb
    e2e_load_keymap
    e2e_prepare_wine
    e2e_copy "$YANRA_E2E_PROGRAM" "$E2E_LIBRARY" "$E2E_RECEIVER"
    e2e_start "$E2E_DIR/$(basename "$YANRA_E2E_PROGRAM")" "$@"
    e2e_start "$E2E_DIR/$(basename "$E2E_RECEIVER")" "$E2E_KEY_LOG" ready
    E2E_RECEIVER_WINDOW=$(e2e_wait_window "$E2E_RECEIVER_TITLE") || e2e_die "the receiver did not open its window"
    e2e_focus "$E2E_RECEIVER_WINDOW" || e2e_die "cannot focus the receiver"
    e2e_wait_file ready ready || e2e_die "the receiver never got the focus"
    e2e_wait_for "the hook to take typed keys" e2e_probe_hook ||
        e2e_die "typed keys do not go through the hook to the receiver (last probe: $(tail -n 6 "$E2E_KEY_LOG" | tr '\n' ' '))"
    E2E_TYPED=
    E2E_TEXT_BEFORE=$(e2e_shown_text) || e2e_die "the receiver shows no text file"
}

# Prints the text that the receiver shows, exactly, final newlines included.
e2e_shown_text() {
    local text
    text=$(cat "$E2E_TEXT_FILE" && echo x) || e2e_die "the receiver wrote no $E2E_TEXT_FILE"
    printf '%s' "${text%x}"
}

# Types "k " and succeeds when what arrives is what the engine makes of it.
# The program may not have installed its hook yet, or may have taken the
# focus: then the keys arrive as typed, and the next try focuses again.
# Afterwards the engine is as if just loaded: the space ends the syllable,
# and no modifier is down.
e2e_probe_hook() {
    local before
    local program
    program=$(basename "$YANRA_E2E_PROGRAM")
    e2e_running "$program" || e2e_die "$program has ended: $(cat "$E2E_DIR/$program.out")"
    e2e_focus "$E2E_RECEIVER_WINDOW"
    before=$(e2e_count_lines "$E2E_KEY_LOG")
    e2e_type 'k '
    YANRA_E2E_TIMEOUT=3 e2e_wait_lines "$E2E_KEY_LOG" $((before + 4)) 2>/dev/null || return 1
    [ "$(tail -n +$((before + 1)) "$E2E_KEY_LOG")" = "$(printf 'k ' | "$YANRA_SIM" keys --layout "$E2E_APP_LAYOUT")" ]
}

# e2e_check_typing NAME KEYS: types KEYS and checks that the receiver gets
# exactly the key messages that yanra-sim keys --layout us predicts, in order, key-ups
# included. The engine keeps its state from one check to the next, so the
# prediction runs over everything typed in the session and this check's
# share is the part beyond what the earlier checks typed. Its messages are
# those that arrive after the earlier checks' had all arrived, so a fault in
# one check does not spill into the next.
e2e_check_typing() {
    local name=$1 keys=$2
    local safe_name=${name//[^A-Za-z0-9_-]/_}
    local expected=$E2E_DIR/$safe_name.expected actual=$E2E_DIR/$safe_name.actual
    local predicted_before arrived_before
    predicted_before=$(printf '%s' "$E2E_TYPED" | "$YANRA_SIM" keys --layout "$E2E_APP_LAYOUT" | wc -l)
    E2E_TYPED+=$keys
    printf '%s' "$E2E_TYPED" | "$YANRA_SIM" keys --layout "$E2E_APP_LAYOUT" | tail -n +$((predicted_before + 1)) >"$expected" ||
        e2e_die "yanra-sim cannot predict: $keys"
    arrived_before=$(e2e_count_lines "$E2E_KEY_LOG")
    e2e_type "$keys"
    e2e_wait_lines "$E2E_KEY_LOG" $((arrived_before + $(wc -l <"$expected")))
    tail -n +$((arrived_before + 1)) "$E2E_KEY_LOG" >"$actual"
    e2e_compare "$name" "$expected" "$actual"
}

# e2e_check_text NAME: the receiver shows what yanra-sim type predicts for
# everything that the checks of the session typed, after the probes' text.
# Call it once the keys have arrived (after e2e_check_typing).
e2e_check_text() {
    local name=$1
    local safe_name=${name//[^A-Za-z0-9_-]/_}
    local expected=$E2E_DIR/$safe_name.text.expected actual=$E2E_DIR/$safe_name.text.actual
    {
        printf '%s' "$E2E_TEXT_BEFORE"
        printf '%s' "$E2E_TYPED" | "$YANRA_SIM" type || e2e_die "yanra-sim cannot predict the text"
    } >"$expected"
    # yanra-sim ends the text with a newline of its own.
    { e2e_shown_text; echo; } >"$actual"
    e2e_compare "$name" "$expected" "$actual"
}

# --- The editing session: the program under test with its hook, and the
# editor focused, whose EDIT control ends up with the text that an ordinary
# application gets. ---

E2E_EDITOR=$YANRA_E2E_BUILD/tools/editor/yanra-editor.exe
E2E_EDITOR_TITLE="Yanra Editor"
E2E_EDITOR_TEXT=editor.txt
E2E_EDITOR_WINDOW=
# The control's text when the session's checks began: the hook probes' text.
E2E_EDITOR_BEFORE=
# When set, the folder that the program under test is started from (e2e_start_in),
# where its library lies beside it; otherwise both are copied into the test folder.
E2E_PROGRAM_FOLDER=

# e2e_start_editing_session [PROGRAM-ARGS...]: starts Xvfb, Wine, the program
# under test (with the given arguments) and the editor, focuses the editor
# and waits until typed keys go through the hook into its control.
e2e_start_editing_session() {
    e2e_start_xvfb
    e2e_load_keymap
    e2e_prepare_wine
    if [ -n "$E2E_PROGRAM_FOLDER" ]; then
        e2e_start_in "$E2E_PROGRAM_FOLDER" "$YANRA_E2E_PROGRAM" "$@"
    else
        e2e_copy "$YANRA_E2E_PROGRAM" "$E2E_LIBRARY"
        e2e_start "$E2E_DIR/$(basename "$YANRA_E2E_PROGRAM")" "$@"
    fi
    e2e_open_editor editor.txt
    e2e_wait_for "the hook to take typed keys" e2e_probe_editor ||
        e2e_die "typed keys do not go through the hook into the editor (its text: $(e2e_editor_text))"
    E2E_TYPED=
    E2E_EDITOR_BEFORE=$(e2e_editor_text && echo x) || e2e_die "the editor wrote no $E2E_EDITOR_TEXT"
    E2E_EDITOR_BEFORE=${E2E_EDITOR_BEFORE%x}
}

# e2e_open_editor TEXT: starts the editor, its text going to the file TEXT
# (which E2E_EDITOR_TEXT then names), and focuses its control. Wine must run.
e2e_open_editor() {
    [ -f "$E2E_EDITOR" ] || e2e_die "$E2E_EDITOR is missing (build the Windows preset)"
    E2E_EDITOR_TEXT=$1
    rm -f "$E2E_DIR/editor.ready"
    [ -f "$E2E_DIR/$(basename "$E2E_EDITOR")" ] || e2e_copy "$E2E_EDITOR"
    e2e_start "$E2E_DIR/$(basename "$E2E_EDITOR")" "$E2E_EDITOR_TEXT" editor.ready
    E2E_EDITOR_WINDOW=$(e2e_wait_window "$E2E_EDITOR_TITLE") || e2e_die "the editor did not open its window"
    e2e_focus "$E2E_EDITOR_WINDOW" || e2e_die "cannot focus the editor"
    e2e_wait_file editor.ready ready || e2e_die "the editor's control never got the focus"
}

# Prints the editor's text, exactly, final newlines included.
e2e_editor_text() {
    local text
    text=$(cat "$E2E_EDITOR_TEXT" 2>/dev/null && echo x) || return 1
    printf '%s' "${text%x}"
}

e2e_editor_text_is() {
    [ "$(e2e_editor_text && echo x)" = "${1}x" ]
}

# Types "k " and succeeds when the control's text grows by what the engine
# makes of it (see e2e_probe_hook). A probe typed before the hook was there
# stays in the text as typed.
e2e_probe_editor() {
    local program before predicted
    program=$(basename "$YANRA_E2E_PROGRAM")
    e2e_running "$program" || e2e_die "$program has ended: $(cat "$E2E_DIR/$program.out")"
    e2e_focus "$E2E_EDITOR_WINDOW"
    before=$(e2e_editor_text && echo x) || return 1
    predicted=$(printf 'k ' | "$YANRA_SIM" type --layout "$E2E_APP_LAYOUT")
    e2e_type 'k '
    YANRA_E2E_TIMEOUT=3 e2e_wait_for "the probe's text" e2e_editor_text_is "${before%x}$predicted" 2>/dev/null
}

# e2e_check_editor NAME KEYS: types KEYS and checks that the control's text
# becomes what yanra-sim type --layout us predicts for everything typed in
# the session, after the probes' text. The prediction counts from the
# session's first check, as the engine does.
e2e_check_editor() {
    local name=$1 keys=$2
    local safe_name=${name//[^A-Za-z0-9_-]/_}
    local expected=$E2E_DIR/$safe_name.expected actual=$E2E_DIR/$safe_name.actual predicted
    E2E_TYPED+=$keys
    predicted=$(printf '%s' "$E2E_TYPED" | "$YANRA_SIM" type --layout "$E2E_APP_LAYOUT" && echo x) ||
        e2e_die "yanra-sim cannot predict: $keys"
    # yanra-sim ends the text with a newline of its own.
    predicted=${predicted%$'\n'x}
    printf '%s' "$E2E_EDITOR_BEFORE$predicted" >"$expected"
    e2e_type "$keys"
    YANRA_E2E_TIMEOUT=$((YANRA_E2E_TIMEOUT + ${#keys} / 50)) \
        e2e_wait_for "the text of \"$name\"" e2e_editor_text_is "$E2E_EDITOR_BEFORE$predicted"
    e2e_editor_text >"$actual"
    e2e_compare "$name" "$expected" "$actual"
}

# e2e_check_editor_meant NAME: the control's text, after the probes' text, is
# the Tibetan that yanra-sim type gives for everything typed in the session
# with the layout the keys are written for: the text that was meant.
e2e_check_editor_meant() {
    local name=$1
    local safe_name=${name//[^A-Za-z0-9_-]/_}
    local expected=$E2E_DIR/$safe_name.meant.expected actual=$E2E_DIR/$safe_name.meant.actual
    {
        printf '%s' "$E2E_EDITOR_BEFORE"
        printf '%s' "$E2E_TYPED" | "$YANRA_SIM" type | head -c -1
    } >"$expected"
    e2e_editor_text >"$actual"
    e2e_compare "$name" "$expected" "$actual"
}
