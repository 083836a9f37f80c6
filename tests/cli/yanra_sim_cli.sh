#!/usr/bin/env bash
# The yanra-sim command line: the trace of every golden case through the real
# program, and its answers to bad input.
set -u
sim=$1
golden_dir=$2
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Every golden case: the keys after "> ", the expected lines up to a blank line.
for file in "$golden_dir"/*.txt; do
    keys=
    expected=
    in_case=0
    check_case() {
        [ "$in_case" = 1 ] || return 0
        actual=$("$sim" trace "$keys" 2>&1)
        if [ "$actual" != "$(printf '%s' "$expected")" ]; then
            fail "$(basename "$file"): trace [$keys]"
            diff <(printf '%s\n' "$actual") <(printf '%s' "$expected") | head -5
        fi
    }
    while IFS= read -r line || [ -n "$line" ]; do
        if [[ $line == "> "* ]]; then
            check_case
            keys=${line:2}
            expected=
            in_case=1
        elif [ -z "$line" ] || [[ $line == "#"* ]]; then
            check_case
            in_case=0
        elif [ "$in_case" = 1 ]; then
            expected+="$line"$'\n'
        fi
    done <"$file"
    check_case
done

# Arguments are joined by single blanks; standard input is read when there are none.
[ "$("$sim" trace k h)" = "$("$sim" trace 'k h')" ] || fail "arguments joined by a blank"
[ "$(printf 'kh' | "$sim" trace)" = "$("$sim" trace kh)" ] || fail "keys from standard input"
[ "$(printf 'k\n' | "$sim" trace | tail -1)" = "$(printf 'VK_RETURN\tpass\tnothing')" ] || fail "newline is Enter"

# Bad input: a message naming the position on stderr, nothing on stdout, status 2.
for bad in 'ab{FOO}' 'k{BS' "$(printf 'a\tb')"; do
    out=$("$sim" trace "$bad" 2>/tmp/yanra-sim-err.$$)
    status=$?
    err=$(cat /tmp/yanra-sim-err.$$)
    [ "$status" = 2 ] || fail "[$bad] exits with $status, not 2"
    [ -z "$out" ] || fail "[$bad] printed on stdout: $out"
    [[ $err == *position* ]] || fail "[$bad] error does not name the position: $err"
done
rm -f /tmp/yanra-sim-err.$$
"$sim" >/dev/null 2>&1
[ $? = 2 ] || fail "no command exits with 2"
"$sim" frobnicate k >/dev/null 2>&1
[ $? = 2 ] || fail "unknown command exits with 2"

# The example of the README.
expected=$(printf 'K\tswallow\tQ\nI\tswallow\tT\nI\tswallow\tBS, Shift+C, T')
[ "$("$sim" trace kii)" = "$expected" ] || fail "trace kii"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "yanra-sim command line: all checks passed"
