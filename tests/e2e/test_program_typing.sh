#!/usr/bin/env bash
# Typing through the real program: yanra.exe loads zelbo.dll and runs the hook,
# and the receiver must get, message for message, what yanra-sim predicts for
# a mixed text of running EWTS with capitals, digits, punctuation, Backspace,
# Enter, and CapsLock switching to English and back.
#
#   test_program_typing.sh [ROUNDS]
#
# ROUNDS (default 1) types the whole text that many times in one session.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

rounds=${1:-1}

# name <TAB> keys; each line goes on from the engine state the earlier ones
# left, as one continuous text would.
text=$(
    cat <<'EOF'
a refuge prayer	sangs rgyas chos dang tshogs kyi mchog rnams la/ byang chub bar du bdag ni skyabs su mchi/ 
a line with capitals	oM maNi pad+me hUM/ ThaDa NaSHa baM raM/ 
digits and punctuation	lo 2005 zla ba 6 tshes 12; grangs 108, 21. 
backspace mends syllables	bsgrubx{BS}s bkra{BS}{BS}ra shis{BS}{BS}{BS}{BS}shis bde legs 
enter ends lines	rgyal ba'i bstan pa{ENTER}dar zhing rgyas par shog/{ENTER}
capslock to english, typed as pressed	{CAPS}Hello, World 42!{BS}?{ENTER}
capslock back to ewts	{CAPS}bod yig 'bri ba/ 
EOF
)

count=$(printf '%s' "$text" | cut -f2 | sed 's/{[A-Z_]*}/#/g' | tr -d '\n' | wc -c)
[ $((count * rounds)) -ge 200 ] || e2e_die "the text has only $count keystrokes, fewer than 200"

e2e_setup
e2e_start_typing_session

for round in $(seq "$rounds"); do
    while IFS=$'\t' read -r name keys; do
        e2e_check_typing "round $round: $name" "$keys"
    done <<<"$text"
done

# Closing the main window ends the program with exit code 0.
e2e_check_stop yanra.exe

e2e_finish
