#!/usr/bin/env bash
# A passage of real Tibetan typed through the real program: yanra.exe loads
# zelbo.dll and runs the hook, xdotool types the EWTS of tests/e2e/passage.txt
# (one Enter per line) into the receiver, and
#   - the key messages that arrive are, in order and one for one, those that
#     yanra-sim keys predicts;
#   - the text that the receiver shows through the Tibetan layout is what
#     yanra-sim type predicts.
#
#   test_passage.sh [FILE]
#
# The passage: the refuge prayer, the four immeasurables, praises, the mantras
# of Manjushri, Avalokiteshvara, Padmasambhava and the Heart Sutra, and a
# dedication. Prefixes, superscripts, subscripts, '+' stacks, the a-chung,
# long vowels, Sanskrit letters and signs, tsheg and shad.
#
# Spelled for this engine, so that nearly all of it is standard Unicode:
# - Sanskrit stacks take '+' (pad+ma, sid+dhi, tad+ya), and vajra is
#   "bdz+ra": after a vowel every consonant stands alone, so "badz+ra" gives
#   བདཟྲ.
# - Long vowels are doubled (huu, dhii, aa) or A; I types the reversed i.
#   At the start of a syllable A types only the long-vowel sign, so ཨཱཿ is
#   "aaH".
# - "snyoms" comes out སཉོམས, not སྙོམས: the tables put no ny under s or r.
#   Other common words that come out differently are left out: dngos and
#   mngon (nga subjoined), brlabs (བྲླབས), bsp (bspangs gives བསཆངས). The
#   one that stays is compared, like the rest, with the engine's own
#   prediction.
# - No "&": it is typed with AltGr, and Wine turns the right Alt that the
#   engine injects (without the extended flag) into the left one, which makes
#   the following key a shortcut instead of a letter.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export YANRA_E2E_PROGRAM=$YANRA_E2E_BUILD/app/yanra.exe

passage_file=${1:-$YANRA_ROOT/tests/e2e/passage.txt}
keys=$(cat "$passage_file" && echo x) || e2e_die "cannot read $passage_file"
keys=${keys%x}

# At least 100 syllables, counted between blanks, shads and line ends.
syllables=$(printf '%s' "$keys" | tr ' /' '\n\n' | grep -c .)
[ "$syllables" -ge 100 ] || e2e_die "$passage_file has $syllables syllables, fewer than 100"
case $keys in
*'&'*) e2e_die "$passage_file has an '&', which Wine cannot show (see above)" ;;
esac

e2e_setup
e2e_start_typing_session

e2e_check_typing "the key messages of $syllables syllables" "$keys"
e2e_check_text "the Tibetan text shown"

e2e_check_stop yanra.exe

e2e_finish
