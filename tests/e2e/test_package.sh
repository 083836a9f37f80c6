#!/usr/bin/env bash
# The zip that users download, as a user meets it: unpacked into a folder
# whose name has blanks and a non-ASCII letter, checked as files, then its
# yanra.exe started from there under Wine (by its Windows path, the folder its
# working directory, as Explorer starts it) types real text into a real EDIT
# control, and its Settings dialog writes yanra.ini beside it.
#
# The zip is made by scripts/package (scripts/test makes it before the tests
# run): dist/yanra-VERSION-win32.zip, or YANRA_PACKAGE_ZIP. Where this
# machine runs 64-bit code only, the 32-bit files cannot run at all: there
# the test takes dist/yanra-VERSION-win64.zip, the same files built for 64-bit
# Windows, which scripts/package makes on such a machine.
#
# Wine and the non-ASCII folder: under the C locale winepath prints the ë of
# the Windows path as other bytes (the program still starts from there, as
# tried), so the test runs under C.UTF-8, where the path reads as it is.
# yanra.exe itself never spells its folder: Windows' loader finds zelbo.dll
# beside it, and yanra.ini is opened by a relative name.

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
source "$here/settings_helpers.sh"
export LC_ALL=C.UTF-8

version=$(cmake -P "$YANRA_ROOT/cmake/version.cmake") || e2e_die "cannot read the version from version.txt"
if [ "$YANRA_WINE_ARCH" = win64 ]; then variant=win64; else variant=win32; fi
name=yanra-$version-$variant
zip=${YANRA_PACKAGE_ZIP:-$YANRA_ROOT/dist/$name.zip}
[ -f "$zip" ] || e2e_die "$zip is missing (run scripts/package)"
command -v unzip >/dev/null || e2e_die "unzip is not installed (run scripts/setup)"
objdump=$YANRA_MINGW-objdump
windres=$YANRA_MINGW-windres

e2e_setup
parent="$E2E_DIR/Yanra Tëst folder"
folder=$parent/$name
mkdir "$parent" && unzip -q "$zip" -d "$parent" || e2e_die "cannot unpack $zip"

# --- The files. ---
expected_entries=$(printf '%s\n' LICENSE SHA256SUMS readme.txt yanra.exe zelbo.dll | sed "s|^|$name/|")
e2e_compare "the zip holds one folder $name with the five files, sorted" \
    <(echo "$expected_entries") <(unzip -Z1 "$zip")
e2e_check "SHA256SUMS verifies with sha256sum -c" \
    eval '(cd "$folder" && sha256sum --quiet --strict -c SHA256SUMS)'
e2e_compare "SHA256SUMS names the other four files" \
    <(printf '%s\n' LICENSE readme.txt yanra.exe zelbo.dll) <(sed 's/^[0-9a-f]*  //' "$folder/SHA256SUMS")
e2e_check "readme.txt is the guide of this commit" cmp -s "$folder/readme.txt" "$YANRA_ROOT/readme.txt"
# crlf_only FILE: FILE is not empty, and every line of it ends with CR LF.
crlf_only() {
    [ -s "$1" ] && [ -z "$(tail -c 1 "$1")" ] && ! grep -qv $'\r$' "$1"
}
e2e_check "readme.txt and LICENSE end every line with CR LF" eval 'crlf_only "$folder/readme.txt" && crlf_only "$folder/LICENSE"'
e2e_check "LICENSE is the licence of this commit" eval 'tr -d "\r" <"$folder/LICENSE" | cmp -s - "$YANRA_ROOT/LICENSE"'

if [ "$variant" = win64 ]; then format=pei-x86-64; else format=pei-i386; fi
for file in yanra.exe zelbo.dll; do
    header=$("$objdump" -p "$folder/$file") || e2e_die "$objdump cannot read $file"
    e2e_check "$file is a $format file" grep -q "file format $format" <<<"$header"
    # A zero time stamp reads as the start of 1970.
    e2e_check "$file carries no link time" grep -qE '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$' <<<"$header"
    e2e_check "$file is stripped" eval '"$objdump" -t "$folder/$file" | grep -q "no symbols"'
    e2e_check "$file names no build path" eval '! strings -a "$folder/$file" | grep -qF -e "$YANRA_ROOT" -e "/build/"'
done

# The version: the zip's name, the About dialog's line and the version record
# come from the one version.txt; the record's values themselves are checked
# in the test build by test_program_resources.sh, whose resources the shipped
# program must carry unchanged.
packaged_rc=$("$windres" -i "$folder/yanra.exe" -O rc) || e2e_die "$windres cannot read the packaged yanra.exe"
built_rc=$("$windres" -i "$YANRA_E2E_BUILD/app/yanra.exe" -O rc) || e2e_die "$windres cannot read the built yanra.exe"
e2e_check "the About dialog says \"Version $version\", as the zip's name" \
    grep -qF "CONTROL \"Version $version\", -1, \"STATIC\"" <<<"$packaged_rc"
e2e_compare "the packaged yanra.exe has the resources of the tested build" <(echo "$built_rc") <(echo "$packaged_rc")

# --- yanra.exe from the folder, typing into an EDIT control. ---
export YANRA_E2E_PROGRAM=$folder/yanra.exe
E2E_PROGRAM_FOLDER=$folder
e2e_start_editing_session
e2e_check "the path with blanks and ë reaches Wine intact" \
    eval '[ "$(winepath -u "$(winepath -w "$folder/yanra.exe")")" = "$folder/yanra.exe" ]'
e2e_check_editor "a line of Tibetan" "bkra shis bde legs/ nga'i ming la bkra shis zer/
"
e2e_check_editor "digits, a mantra with capitals and stacks, and a mistake mended" \
    "lo 2026 zla ba 12/ oM ma Ni pad+me hUM/ sid+dhi/ chos dag{BS}{BS}dang/
"
e2e_check_editor_meant "the text is the Tibetan meant"

# --- The Settings dialog writes yanra.ini beside yanra.exe. ---
# Without a yanra.ini the window hides itself after 5 seconds; a second start
# from the folder brings it back, and the second instance ends.
MAIN_WINDOW=$(e2e_wait_window "$MAIN_TITLE") || e2e_die "yanra.exe has no main window"
e2e_check "without yanra.ini the window hides itself" e2e_wait_for "the autohide" hidden "$MAIN_TITLE"
e2e_check "starting writes no yanra.ini" test ! -e "$folder/yanra.ini"
second=0
(cd "$folder" && timeout "$YANRA_E2E_TIMEOUT" wine "$(winepath -w "$folder/yanra.exe")" >"$E2E_DIR/second.out" 2>&1) ||
    second=$?
e2e_check "a second start from the folder ends with exit code 0 ($second)" test "$second" -eq 0
e2e_wait_for "the main window on screen" visible "$MAIN_TITLE" || e2e_die "a second start did not show the window"
# Tab four times to the delay field, the up arrow makes 5 seconds 6, Return is OK.
open_settings >/dev/null
xdotool key --delay 30 Tab Tab Tab Tab Up Return
wait_closed "$SETTINGS_TITLE" || e2e_die "the Settings dialog did not close"
e2e_compare "OK writes yanra.ini beside yanra.exe" <(settings_text 0 1 6) "$folder/yanra.ini"
e2e_check "nothing else is left in the folder" eval \
    '[ "$(cd "$folder" && ls -A | tr "\n" " ")" = "LICENSE SHA256SUMS readme.txt yanra.exe yanra.ini zelbo.dll " ]'
e2e_check "no yanra.ini in the test folder, the editor's working directory" test ! -e "$E2E_DIR/yanra.ini"

e2e_check_stop yanra.exe
e2e_finish
