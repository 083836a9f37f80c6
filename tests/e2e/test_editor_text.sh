#!/usr/bin/env bash
# Real text typed through the real program into a real application: yanra.exe
# loads zelbo.dll and runs the hook, xdotool types into the system's own EDIT
# control of yanra-editor, and the text that the control ends with (read back
# from it) is compared, as Unicode text, with
#   - what yanra-sim type --layout us predicts: under Wine every application
#     types with the US layout, so the engine sends the Tibetan characters
#     themselves in place of the keys that would type Latin;
#   - what yanra-sim type gives with the Tibetan layout: the text meant.
#
# The text: the passage of test_passage.sh (prayers and mantras) and
# tests/e2e/editor_text.txt: running prose, dates and digits, mantras with
# capitals and '+' stacks, Sanskrit letters, long vowels, punctuation, typing
# mistakes mended with Backspace, Enter, CapsLock to English, Latin typed and
# erased, CapsLock back, and capitals typed with the user's own Shift held
# over several keys. No "&": it is typed with AltGr, and a layout without
# AltGr sends its character under Alt, where an EDIT control takes none.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

read_keys() {
    local keys
    keys=$(cat "$1" && echo x) || e2e_die "cannot read $1"
    printf '%s' "${keys%x}"
}

passage=$(read_keys "$YANRA_ROOT/tests/e2e/passage.txt")
text=$(read_keys "$YANRA_ROOT/tests/e2e/editor_text.txt")
case $passage$text in
*'&'*) e2e_die "the text has an '&' (see above)" ;;
esac
total=$((${#passage} + ${#text}))
[ "$total" -ge 2000 ] || e2e_die "the text has $total characters, fewer than 2,000"

e2e_setup
e2e_start_editing_session

e2e_check_editor "the passage" "$passage"
# The rest in parts of a few lines, so that a fault shows where it began.
part=1
while IFS= read -r -d '' piece; do
    [ -n "$piece" ] || continue
    e2e_check_editor "part $part of editor_text.txt" "$piece"
    part=$((part + 1))
done < <(printf '%s' "$text" | awk 'BEGIN { RS = "\n"; ORS = "" } { print $0 "\n"; if (NR % 4 == 0) printf "%c", 0 } END { printf "%c", 0 }')
e2e_check_editor_meant "all $total characters give the Tibetan meant"
echo "e2e: $total characters typed, $(e2e_editor_text | wc -m) characters in the control"

e2e_check_stop yanra.exe

e2e_finish
