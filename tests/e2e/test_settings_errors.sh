#!/usr/bin/env bash
# A yanra.ini that cannot be written (read-only, a directory in its place, held
# open by another program): closing the Settings dialog shows the
# "Yanra Fatal" box, leaves the old file exactly as it was, and the program
# goes on; the box comes again at every later save, and a save succeeds once
# the file can be written again.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"
source "$here/settings_helpers.sh"

# save_refused NAME KEYS...: opens the dialog, closes it with KEYS, and checks
# that the error box comes, that dismissing it closes the dialog too, and that
# the program still runs.
save_refused() {
    local name=$1 box
    shift
    open_settings >/dev/null
    xdotool key "$@"
    if box=$(wait_shown "$ERROR_TITLE"); then
        e2e_pass "$name: the error box comes"
        e2e_focus "$box"
        xdotool key Return
        e2e_check "$name: its OK closes it and the dialog" e2e_wait_for "the dialogs to close" \
            eval 'absent "$ERROR_TITLE" && absent "$SETTINGS_TITLE"'
    else
        e2e_fail "$name: the error box comes"
        e2e_die "no error box; cannot go on"
    fi
    e2e_check "$name: the program goes on" e2e_running yanra.exe
    e2e_check "$name: no temporary file is left" test ! -e "$E2E_DIR/yanra.ini.new"
}

# Builds locker.exe: "locker FILE LOCKED RELEASE" opens FILE sharing nothing,
# creates LOCKED, and holds the file until RELEASE exists.
build_locker() {
    local cc=${YANRA_E2E_CC:-$YANRA_MINGW-gcc}
    command -v "$cc" >/dev/null || e2e_die "$cc is not installed (run scripts/setup)"
    cat >"$E2E_DIR/locker.c" <<'EOF_C'
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
    HANDLE file;
    FILE* marker;
    if (argc != 4) {
        return 2;
    }
    file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "locker: cannot open %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    marker = fopen(argv[2], "w");
    if (marker == NULL) {
        return 1;
    }
    fclose(marker);
    while (GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES) {
        Sleep(20);
    }
    CloseHandle(file);
    return 0;
}
EOF_C
    "$cc" -O1 -static -o "$E2E_DIR/locker.exe" "$E2E_DIR/locker.c" || e2e_die "cannot build locker.exe"
}

e2e_setup
settings_session

settings_text 0 0 5 >"$E2E_DIR/yanra.ini"
cp "$E2E_DIR/yanra.ini" "$E2E_DIR/old.ini"
start_yanra

# A read-only file. Windows refuses to replace it; Wine (as Unix does) would
# rename over it, so the program checks the attribute itself. Wine reports a
# file without write permission as read-only.
chmod a-w "$E2E_DIR/yanra.ini"
save_refused "read-only file, Escape" Escape
e2e_check "read-only file: the file is as it was" cmp -s "$E2E_DIR/old.ini" "$E2E_DIR/yanra.ini"
save_refused "read-only file, a later OK" Return
e2e_check "read-only file: still as it was after OK" cmp -s "$E2E_DIR/old.ini" "$E2E_DIR/yanra.ini"
e2e_check "read-only file: still read-only" test -z "$(find "$E2E_DIR/yanra.ini" -perm /222)"

# Writable again: the next save succeeds with the settings in memory, which
# the failed saves left untouched.
chmod u+w "$E2E_DIR/yanra.ini"
rm -f "$E2E_DIR/yanra.ini"
open_settings >/dev/null
xdotool key Escape
e2e_check "writable again: the dialog closes without a box" wait_closed "$SETTINGS_TITLE"
e2e_check "writable again: no error box" absent "$ERROR_TITLE"
check_file "writable again: the settings are written" 0 0 5

# A directory in the file's place cannot be replaced; it stays as it was.
rm -f "$E2E_DIR/yanra.ini"
mkdir "$E2E_DIR/yanra.ini"
touch "$E2E_DIR/yanra.ini/kept"
save_refused "a directory named yanra.ini" Escape
e2e_check "a directory named yanra.ini: it is left as it was" test -f "$E2E_DIR/yanra.ini/kept"

# A file that another program holds open without sharing it (an editor, a
# backup or a virus scanner): it cannot be replaced while it is held, and it
# is replaced once it is let go.
rm -rf "$E2E_DIR/yanra.ini"
settings_text 0 0 5 >"$E2E_DIR/yanra.ini"
cp "$E2E_DIR/yanra.ini" "$E2E_DIR/old.ini"
build_locker
wine "$E2E_DIR/locker.exe" yanra.ini locked release >"$E2E_DIR/locker.out" 2>&1 &
locker=$!
e2e_wait_file locked || e2e_die "the locker did not take the file: $(cat "$E2E_DIR/locker.out")"
save_refused "a file held open by another program" Escape
e2e_check "a held file: it is left as it was" cmp -s "$E2E_DIR/old.ini" "$E2E_DIR/yanra.ini"
touch "$E2E_DIR/release"
wait "$locker"
open_settings >/dev/null
xdotool key Escape
e2e_check "let go: the dialog closes without a box" wait_closed "$SETTINGS_TITLE"
e2e_check "let go: no error box" absent "$ERROR_TITLE"
check_file "let go: the settings are written" 0 0 5

stop_yanra
e2e_finish
