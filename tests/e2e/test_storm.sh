#!/usr/bin/env bash
# A storm: more than 5,000 keystrokes of real text typed with no delay at all
# (xdotool's full speed, about 9,000 X key events a second) into the system's
# own EDIT control, first with no hook at all (the baseline), then through
# the real yanra.exe. Each time the text that the control ends with must be
# the prediction, whole: nothing lost, nothing reordered. The test prints the
# rate at which each storm arrived whole.
#
# Under Wine a burst is slow to arrive, and arrives all at once: the
# receiving thread handles every X event queued for it before it reads any
# window message, and with a low-level hook installed each of those events
# waits for the hook's answer, the engine's injected events going through
# the hook again. Nothing is dropped, however long it takes; the wait here
# allows several minutes, for a loaded machine.
#
#   test_storm.sh [COPIES]   the passage of test_passage.sh, COPIES times (default 6)

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

copies=${1:-6}
passage=$(cat "$YANRA_ROOT/tests/e2e/passage.txt" && echo x) || e2e_die "cannot read the passage"
passage=${passage%x}
storm=
for ((i = 0; i < copies; i++)); do
    storm+=$passage
done
keystrokes=$(printf '%s' "$storm" | "$YANRA_SIM" xdotool | grep -c '^keydown')
[ "$keystrokes" -ge 5000 ] || e2e_die "the storm has $keystrokes keystrokes, fewer than 5,000"
case $storm in
*'&'* | *'{'*) e2e_die "the storm must be plain text with no '&' and no named keys" ;;
esac

now() { date +%s.%N; }
# keys/s: keystrokes over the seconds from START to END.
rate() { awk -v k="$keystrokes" -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", k / (b - a) }'; }

# e2e_storm NAME EXPECTED-TEXT: types the storm at full speed and waits until
# the control holds EXPECTED-TEXT; prints the keys/s at which it arrived whole.
storm_into_editor() {
    local name=$1 expected=$2 start sent arrived
    printf '%s' "$expected" >"$E2E_DIR/$name.expected"
    start=$(now)
    e2e_type_burst "$storm"
    sent=$(now)
    if YANRA_E2E_TIMEOUT=300 e2e_wait_for "the storm's text ($name)" e2e_editor_text_is "$expected"; then
        arrived=$(now)
        e2e_pass "$name: $keystrokes keystrokes arrive whole"
        echo "e2e: $name: sent at $(rate "$start" "$sent") keys/s, arrived whole at $(rate "$start" "$arrived") keys/s" \
            "($(awk -v a="$start" -v b="$arrived" 'BEGIN { printf "%.1f", b - a }') s)"
    else
        e2e_editor_text >"$E2E_DIR/$name.actual"
        e2e_compare "$name: $keystrokes keystrokes arrive whole" "$E2E_DIR/$name.expected" "$E2E_DIR/$name.actual"
    fi
}

e2e_setup
e2e_start_xvfb
e2e_load_keymap
e2e_prepare_wine

# The baseline: no hook, so the control gets the keys as the US layout types
# them, which for this text is the text itself.
e2e_open_editor baseline.txt
storm_into_editor "without the hook" "$storm"
e2e_check_stop yanra-editor.exe

# Through the program: the Tibetan that yanra-sim predicts, after the probes.
e2e_copy "$YANRA_E2E_PROGRAM" "$E2E_LIBRARY"
e2e_start "$E2E_DIR/yanra.exe"
e2e_open_editor editor.txt
e2e_wait_for "the hook to take typed keys" e2e_probe_editor || e2e_die "typed keys do not go through the hook"
before=$(e2e_editor_text && echo x)
predicted=$(printf '%s' "$storm" | "$YANRA_SIM" type --layout "$E2E_APP_LAYOUT" && echo x) ||
    e2e_die "yanra-sim cannot predict the storm"
storm_into_editor "through yanra.exe" "${before%x}${predicted%$'\n'x}"
e2e_check_stop yanra-editor.exe
e2e_check_stop yanra.exe

e2e_finish
