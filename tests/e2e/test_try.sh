#!/usr/bin/env bash
# scripts/try, the README's first command, as a user runs it: it must print
# the Tibetan that arrived and that it is what yanra-sim type predicts, save a
# screenshot with the text on it, end everything it started, and refuse keys
# that cannot be typed before starting anything.
set -uo pipefail

root=${YANRA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
sim=${YANRA_SIM:-$root/build/native/tools/yanra-sim}
export YANRA_NATIVE_BUILD=${YANRA_NATIVE_BUILD:-$(cd "$(dirname "$sim")/.." && pwd)}
source "$root/scripts/wine-env"
export YANRA_E2E_BUILD=${YANRA_E2E_BUILD:-$YANRA_WINDOWS_BUILD}

folder=$(mktemp -d "${TMPDIR:-/tmp}/yanra-try-test.XXXXXX") || exit 1
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/tmp"
export YANRA_TRY_OUT=$folder/out
# try's test folder goes in here too, so that what it leaves running shows.
export TMPDIR=$folder/tmp

passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        echo "FAIL: $name"
    fi
}

# The pids of processes that run from the test's folder or name it.
left_running() {
    local proc
    for proc in /proc/[0-9]*; do
        if readlink "$proc/cwd" 2>/dev/null | grep -qF "$folder" ||
            tr '\0' ' ' <"$proc/cmdline" 2>/dev/null | grep -qF "$folder"; then
            printf '%s ' "${proc#/proc/}"
        fi
    done
}

# The receiver's first line of text, on the screenshot: the window stands at
# (40, 40) of the virtual screen. Mostly white, but far from blank.
shows_text() {
    local mean
    mean=$(convert "$1" -crop 800x110+57+80 +repage -colorspace gray -format '%[fx:mean]' info: 2>/dev/null) || return 1
    awk -v mean="$mean" 'BEGIN { exit !(mean < 0.98) }'
}

output=$("$root/scripts/try" "bsgrubs rgyal mtsho/" 2>&1)
status=$?
printf '%s\n' "$output" | sed 's/^/    /'
check "try ends with exit status 0" [ "$status" = 0 ]
check "it prints the Tibetan that arrived" grep -qxF "arrived:   བསྒྲུབས་རྒྱལ་མཚོ།" <<<"$output"
check "it says the text is what yanra-sim type predicts" \
    grep -qxF "the text that arrived is what yanra-sim type predicts" <<<"$output"
check "it prints where the screenshot is" grep -qxF "screenshot: $YANRA_TRY_OUT/screenshot.png" <<<"$output"
check "the screenshot shows the text in the receiver" shows_text "$YANRA_TRY_OUT/screenshot.png"
left=$(left_running)
check "nothing is left running (${left:-none})" [ -z "$left" ]

output=$("$root/scripts/try" 'ka{NOPE}' 2>&1)
status=$?
check "keys that cannot be typed end try with exit status 2" [ "$status" = 2 ]
check "and the message names the place" grep -q 'position 3' <<<"$output"
check "and nothing was started" eval '! grep -q "starting yanra.exe" <<<"$output"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
