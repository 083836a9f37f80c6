#!/usr/bin/env bash
# yanra-sim type and yanra-sim reference from the command line: the printed
# text byte for byte, where the keys come from, and the answers to bad input.
set -u
sim=$1
failures=0
err=$(mktemp)
trap 'rm -f "$err"' EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The text is UTF-8 followed by one newline; $(...) would hide a missing or
# doubled newline, so compare through od.
expect_type() {
    local expected=$1
    shift
    local actual
    actual=$("$sim" type "$@" | od -An -tx1)
    if [ "$actual" != "$(printf '%s\n' "$expected" | od -An -tx1)" ]; then
        fail "type [$*]: got $("$sim" type "$@"), expected $expected"
    fi
}

expect_type 'བཀྲ་ཤིས་བདེ་ལེགས།' 'bkra shis bde legs/'
expect_type 'བསྒྲུབས་རྒྱལ་མཚོ།' 'bsgrubs rgyal mtsho/'
expect_type 'བཀྲ་ཤིས་བདེ་ལེགས།' bkra shis bde legs/  # arguments joined by single blanks
expect_type '' ''
expect_type '' '.,'
expect_type $'ཀ\nཁ' $'ka\nkha'

# The application's layout: the same Tibetan from the Dzongkha and US layouts;
# in English mode the US layout types the keys as Latin letters.
expect_type 'བཀྲ་ཤིས་ཨོཾ' --layout us 'bkra shis oM'
expect_type 'བཀྲ་ཤིས་ཨོཾ' --layout dzongkha 'bkra shis oM'
expect_type 'བཀྲ་ཤིས་ཨོཾ' --layout tibetan 'bkra shis oM'
expect_type 'ཀok' --layout us 'k{CAPS}ok'
actual=$(printf 'ka' | "$sim" type --layout us | od -An -tx1)
[ "$actual" = "$(printf 'ཀ
' | od -An -tx1)" ] || fail "type --layout reads standard input when no keys follow"
# A replaced tap shows as its character; everything else as before.
[ "$("$sim" keys --layout us kh)" = "$(printf 'down U+0F40
up U+0F40
up K
down VK_BACK
up VK_BACK
down U+0F41
up U+0F41
up H')" ] ||
    fail "keys --layout us kh: $("$sim" keys --layout us kh)"
[ "$("$sim" keys --layout tibetan kh)" = "$("$sim" keys kh)" ] || fail "keys --layout tibetan is the default"
for bad in "--layout" "--layout qwerty k"; do
    # shellcheck disable=SC2086  # the words are the arguments
    out=$("$sim" type $bad 2>"$err")
    status=$?
    [ "$status" = 2 ] && [ -z "$out" ] && grep -q 'tibetan, dzongkha or us' "$err" ||
        fail "type $bad: status $status, stdout [$out], stderr [$(cat "$err")]"
done

# Standard input when there are no arguments, its final newline an Enter.
actual=$(printf 'bkra shis' | "$sim" type | od -An -tx1)
[ "$actual" = "$(printf 'བཀྲ་ཤིས\n' | od -An -tx1)" ] || fail "type from standard input"
actual=$(printf 'ka\n' | "$sim" type | od -An -tx1)
[ "$actual" = "$(printf 'ཀ\n\n' | od -An -tx1)" ] || fail "a final newline on standard input is an Enter"

# Bad keys: a message naming the position, nothing on stdout, status 2.
out=$("$sim" type 'ka{NOPE}' 2>"$err")
status=$?
[ "$status" = 2 ] || fail "type with a bad key name exits with $status, not 2"
[ -z "$out" ] || fail "type with a bad key name printed: $out"
grep -q 'position 3' "$err" || fail "type with a bad key name: $(cat "$err")"

# The reference: every section, the Tibetan in it, and its arguments.
out=$("$sim" reference 2>"$err")
status=$?
[ "$status" = 0 ] || fail "reference exits with $status: $(cat "$err")"
for title in Letters 'Subjoined letters' Vowels 'Long vowels' 'Sanskrit letters and marks' Digits \
    'Punctuation and signs'; do
    grep -qx "$title" <<<"$out" || fail "reference has no section $title"
done
grep -Eq '^  kya +U\+0F40 U\+0FB1 +ཀྱ$' <<<"$out" || fail "reference text has no row for kya"
[ "$("$sim" reference text)" = "$out" ] || fail "reference text differs from reference"
"$sim" reference markdown | grep -qF '| `kya` | ཀྱ | U+0F40 U+0FB1 |' || fail "reference markdown has no row for kya"
"$sim" reference html >/dev/null 2>&1
[ $? = 2 ] || fail "reference with an unknown format exits with 2"
"$sim" reference text extra >/dev/null 2>&1
[ $? = 2 ] || fail "reference with two arguments exits with 2"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "yanra-sim type and reference: all checks passed"
