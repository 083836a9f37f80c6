#!/usr/bin/env bash
# The end-to-end half of the benchmarks: the real yanra.exe and zelbo.dll under
# Wine on a private Xvfb display, typed into with XTest by yanra-xkeys, which
# notes when each key event went out. It writes raw results into a folder;
# bench/report.py turns them into figures. scripts/bench runs it.
#
#   bench/wine_bench.sh OUT [--quick]
#
# - latency: the passage typed one key event every GAP ms into yanra-keytimer,
#   which notes when each key message arrives; without the hook, then with
#   yanra.exe running, in rounds (latency/round*-base.stamps, -hook.stamps,
#   latency/timer.log);
# - start-up: yanra.exe started warm while k is typed every 2 ms; the first
#   character that it sends in place of k tells that its hook takes keys
#   (startup/run*.launch, run*.stamps, timer.log);
# - memory: yanra.exe after all that typing, and yanra-idle.exe, a program
#   that does nothing, asked by yanra-meminfo.exe (memory.txt);
# - throughput: bursts of the passage at rising rates into the EDIT control of
#   yanra-editor, the text compared with what must arrive (throughput.txt:
#   "CONFIG NOMINAL SENT_RATE WHOLE ARRIVED_CHARS EXPECTED_CHARS LAG_MS
#   KEY_DOWNS SECONDS" per burst: LAG_MS from the last key sent to the whole
#   text seen, -1 when it never was; SECONDS the time the sending took).
#
# yanra.exe runs with "start with hidden main window" set, so that its window
# never takes the focus from the window typed into; it installs its hook
# before it would show the window either way.
#
# Environment: YANRA_E2E_BUILD (the Windows build), YANRA_SIM (the native
# yanra-sim), YANRA_XKEYS (the native yanra-xkeys), and those of tests/e2e/lib.sh.

out=${1:?usage: wine_bench.sh OUT [--quick]}
quick=0
[ "${2:-}" = --quick ] && quick=1
mkdir -p "$out/latency" || exit 1
out=$(cd "$out" && pwd)

source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.sh"
YANRA_XKEYS=${YANRA_XKEYS:-$YANRA_ROOT/build/native/bench/yanra-xkeys}
YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe
KEYTIMER=$YANRA_E2E_BUILD/tools/keytimer/yanra-keytimer.exe
MEMINFO=$YANRA_E2E_BUILD/tools/meminfo/yanra-meminfo.exe
IDLE=$YANRA_E2E_BUILD/tools/meminfo/yanra-idle.exe
PASSAGE=$YANRA_ROOT/tests/e2e/passage.txt

if [ "$quick" = 1 ]; then
    latency_lines=2     # lines of the passage typed for the latency
    latency_rounds=1
    startups=3          # measured starts, after one that warms up
    burst_lines=3
    rates=(250 1000 4000 0)
else
    latency_lines=1000  # all of the passage
    latency_rounds=2
    startups=7
    burst_lines=1000
    rates=(125 250 500 1000 2000 4000 8000 16000 0)
fi
gap_ms=12

bench_die() {
    echo "wine_bench: FATAL: $*" >&2
    exit 1
}

for tool in Xvfb xkbcomp wine wineserver; do
    command -v "$tool" >/dev/null || bench_die "$tool is not installed (run scripts/setup)"
done
for file in "$YANRA_SIM" "$YANRA_XKEYS" "$YANRA_E2E_PROGRAM" "$E2E_LIBRARY" "$KEYTIMER" "$MEMINFO" "$IDLE" \
    "$E2E_EDITOR"; do
    [ -f "$file" ] || bench_die "$file is missing (scripts/bench builds it)"
done

# The session's folder, and the cleanup of lib.sh on every exit: the Wine
# programs, the wineserver of the prefix, Xvfb.
E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/yanra-bench.XXXXXX") || bench_die "cannot create a folder"
cd "$E2E_DIR" || exit 1
trap e2e_cleanup EXIT

e2e_start_xvfb
e2e_load_keymap
e2e_prepare_wine
e2e_copy "$YANRA_E2E_PROGRAM" "$E2E_LIBRARY" "$KEYTIMER" "$MEMINFO" "$IDLE" "$E2E_EDITOR"
printf '[Yanra startup parameters]\r\n1  // hidden\r\n0  // autohide\r\n0  // delay\r\n' >yanra.ini
wine --version >"$out/wine.txt" 2>&1

# xdotool-style actions for KEYS (yanra-sim's language) on standard input.
actions_for() {
    "$YANRA_SIM" xdotool || bench_die "yanra-sim cannot type the text"
}

# xkeys ARGS...: yanra-xkeys with the actions on standard input.
xkeys() {
    timeout 300 "$YANRA_XKEYS" "$@" || bench_die "yanra-xkeys failed"
}

start_yanra() {
    e2e_start "$E2E_DIR/yanra.exe"
}

# Wine moves the focus away when a program ends: the window typed into gets
# it back.
TARGET_WINDOW=
stop_yanra() {
    e2e_stop yanra.exe >/dev/null || bench_die "yanra.exe did not end"
    if [ -n "$TARGET_WINDOW" ]; then
        e2e_focus "$TARGET_WINDOW" || bench_die "cannot focus the window typed into again"
    fi
}

# --- The window typed into for latency and start-up. ---

TIMER_LOG=$E2E_DIR/timer.log
e2e_start "$E2E_DIR/yanra-keytimer.exe" "$TIMER_LOG" timer.ready
TIMER_WINDOW=$(e2e_wait_window "Yanra Key Timer") || bench_die "the key timer did not open its window"
e2e_focus "$TIMER_WINDOW" || bench_die "cannot focus the key timer"
e2e_wait_file timer.ready ready || bench_die "the key timer never got the focus"
TARGET_WINDOW=$TIMER_WINDOW

# The key timer's lines after the first N, once it has written them out.
timer_lines_after() {
    sleep 0.25
    tail -n +$(($1 + 1)) "$TIMER_LOG"
}

# Types "k " until the key timer gets a character sent by itself: the hook
# takes keys, and the engine is back at the start of a syllable.
wait_for_hook() {
    local deadline=$((SECONDS + YANRA_E2E_TIMEOUT)) before
    while [ "$SECONDS" -lt "$deadline" ]; do
        e2e_running yanra.exe || bench_die "yanra.exe has ended: $(cat yanra.exe.out)"
        e2e_focus "$TIMER_WINDOW" || bench_die "cannot focus the key timer"
        before=$(e2e_count_lines "$TIMER_LOG")
        printf 'k ' | actions_for | xkeys --gap 5 >/dev/null
        if timer_lines_after "$before" | grep -q ' 0xE7$'; then
            return 0
        fi
    done
    bench_die "the hook never took keys"
}

echo "wine_bench: latency"
head -n "$latency_lines" "$PASSAGE" | actions_for >"$out/latency/actions"
for round in $(seq 1 "$latency_rounds"); do
    xkeys --gap "$gap_ms" --stamps "$out/latency/round$round-base.stamps" <"$out/latency/actions" >/dev/null
    start_yanra
    wait_for_hook
    xkeys --gap "$gap_ms" --stamps "$out/latency/round$round-hook.stamps" <"$out/latency/actions" >/dev/null
    stop_yanra
done

echo "wine_bench: start-up"
# Each start: the launch time, and the stamps of the k taps typed meanwhile,
# in batches; Wine may move the focus away as the program hides its window, so
# it is given back between batches. bench/report.py finds the first k that
# the hook took, and keeps a start only where a k at most 25 ms before it
# arrived as typed, so that the moment is known that closely.
mkdir -p "$out/startup"
rm -f "$out"/startup/*
yes $'keydown k\nkeyup k' | head -n 200 >taps
kept=0
for run in $(seq 0 $((startups * 2 + 1))); do
    [ "$kept" -ge "$startups" ] && break
    before=$(e2e_count_lines "$TIMER_LOG")
    : >"$out/startup/run$run.stamps"
    launch=$(date +%s%N)
    start_yanra
    deadline=$((SECONDS + YANRA_E2E_TIMEOUT))
    while :; do
        xkeys --gap 1 --stamps taps.stamps <taps >/dev/null
        cat taps.stamps >>"$out/startup/run$run.stamps"
        timer_lines_after "$before" | grep -q ' 0xE7$' && break
        [ "$SECONDS" -lt "$deadline" ] || bench_die "yanra.exe's hook took no keys within ${YANRA_E2E_TIMEOUT}s"
        e2e_focus "$TIMER_WINDOW" || bench_die "cannot focus the key timer"
    done
    # The first start warms Wine and the file cache up.
    if [ "$run" -gt 0 ]; then
        echo "$launch" >"$out/startup/run$run.launch"
        timer_lines_after 0 >"$out/startup/timer.log"
        python3 "$YANRA_ROOT/bench/report.py" startup-run "$launch" "$out/startup/run$run.stamps" \
            "$out/startup/timer.log" >/dev/null && kept=$((kept + 1))
    fi
    printf ' ' | actions_for | xkeys --gap 5 >/dev/null
    stop_yanra
done
cp "$TIMER_LOG" "$out/latency/timer.log"

echo "wine_bench: memory"
start_yanra
wait_for_hook
head -n "$latency_lines" "$PASSAGE" | actions_for | xkeys --rate 200 >/dev/null
e2e_start "$E2E_DIR/yanra-idle.exe"
sleep 1
wine "$E2E_DIR/yanra-meminfo.exe" yanra.exe yanra-idle.exe >"$out/memory.txt" 2>&1 || bench_die "yanra-meminfo: $(cat "$out/memory.txt")"
wine taskkill /f /im yanra-idle.exe >/dev/null 2>&1
stop_yanra
e2e_stop yanra-keytimer.exe >/dev/null
TARGET_WINDOW=

echo "wine_bench: throughput"
: >"$out/throughput.txt"
head -n "$burst_lines" "$PASSAGE" >burst.keys
LC_ALL=C grep -q '[^ -~]' <(tr -d '\n' <burst.keys) && bench_die "the burst text is not plain printable ASCII"
actions_for <burst.keys >burst.actions
cp burst.keys burst.base.expected
"$YANRA_SIM" type --layout us <burst.keys | head -c -1 >burst.hook.expected

PROBE_TEXT=$(printf 'k ' | "$YANRA_SIM" type --layout us)

editor_text() {
    cat "$E2E_EDITOR_TEXT" 2>/dev/null
}

# A fresh editor, focused; with the hook, the probe "k " has gone through
# it. Prints the control's text then.
open_editor() {
    local config=$1
    if e2e_running yanra-editor.exe; then
        e2e_stop yanra-editor.exe >/dev/null || bench_die "the editor did not end"
    fi
    rm -f "$E2E_EDITOR_TEXT" editor.ready
    e2e_start "$E2E_DIR/yanra-editor.exe" "$E2E_EDITOR_TEXT" editor.ready
    E2E_EDITOR_WINDOW=$(e2e_wait_window "$E2E_EDITOR_TITLE") || bench_die "the editor did not open its window"
    e2e_focus "$E2E_EDITOR_WINDOW" || bench_die "cannot focus the editor"
    TARGET_WINDOW=$E2E_EDITOR_WINDOW
    e2e_wait_file editor.ready ready || bench_die "the editor's control never got the focus"
    e2e_wait_file "$E2E_EDITOR_TEXT" || bench_die "the editor writes no text"
    [ "$config" = hook ] || return 0
    # Until the hook has taken it: a Shift tap first, since a burst that
    # lost a Shift key-up leaves the engine thinking Shift is held.
    local deadline=$((SECONDS + YANRA_E2E_TIMEOUT))
    until
        e2e_focus "$E2E_EDITOR_WINDOW" || bench_die "cannot focus the editor"
        printf '{LSHIFT down}{LSHIFT up}k ' | actions_for | xkeys --gap 5 >/dev/null
        YANRA_E2E_TIMEOUT=2 e2e_wait_for "the probe's text" editor_ends_with "$PROBE_TEXT" 2>/dev/null
    do
        [ "$SECONDS" -lt "$deadline" ] || bench_die "the probe does not go through the hook into the editor: $(editor_text)"
    done
}

editor_ends_with() {
    local text
    text=$(editor_text) || return 1
    [[ $text == *"$1" ]]
}

# Waits until the control's text is what was expected, or has not changed
# for 5 s (keys that arrive late still count), and writes it to FILE. Prints
# the nanoseconds from SENT (when the last key went out) to the moment the
# expected text was seen, or -1.
settled_text() {
    local expected=$1 sent=$2 file=$3 text previous= still_since now
    still_since=$(date +%s%N)
    while :; do
        text=$(editor_text && echo x)
        now=$(date +%s%N)
        if [ "$text" = "${expected}x" ]; then
            printf '%s' "${text%x}" >"$file"
            echo $((now - sent))
            return
        fi
        if [ "$text" != "$previous" ]; then
            previous=$text
            still_since=$now
        elif [ $((now - still_since)) -ge 5000000000 ]; then
            printf '%s' "${text%x}" >"$file"
            echo -1
            return
        fi
        sleep 0.02
    done
}

# burst CONFIG RATE: one burst; appends its line to throughput.txt and
# succeeds when the text arrived whole, however late.
burst() {
    local config=$1 rate=$2 before expected key_downs seconds achieved arrived whole sent lag
    open_editor "$config"
    before=$(editor_text && echo x)
    before=${before%x}
    expected=$before$(cat "burst.$config.expected" && echo x)
    expected=${expected%x}
    # "key_downs N seconds S rate R"
    read -r _ key_downs _ seconds _ achieved < <(xkeys --rate "$rate" <burst.actions)
    sent=$(date +%s%N)
    lag=$(settled_text "$expected" "$sent" arrived.txt)
    arrived=$(cat arrived.txt && echo x)
    arrived=${arrived%x}
    whole=0
    if [ "$lag" -ge 0 ]; then
        whole=1
        lag=$((lag / 1000000))
    fi
    echo "$config $rate $achieved $whole $((${#arrived} - ${#before})) $((${#expected} - ${#before})) $lag $key_downs $seconds" \
        >>"$out/throughput.txt"
    [ "$whole" = 1 ]
}

# Rising rates until one fails twice; "0" is as fast as the X server takes keys.
ladder() {
    local config=$1 rate
    for rate in "${rates[@]}"; do
        burst "$config" "$rate" || burst "$config" "$rate" || break
    done
}

ladder base
start_yanra
ladder hook
e2e_stop yanra-editor.exe >/dev/null
TARGET_WINDOW=
stop_yanra

echo "wine_bench: done"
