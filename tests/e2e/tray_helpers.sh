# Helpers of the tests that look at the notification icon, on top of lib.sh.
# Wine draws the notification area inside the task bar of its virtual desktop
# and gives the icons no windows of their own, so the icon is found by its
# colours in a screenshot; some window of a test must keep the desktop up.

# The notification area: the right half of Wine's 20-pixel task bar along the
# bottom of the 1024 x 768 virtual desktop that scripts/wine-env sets up.
TRAY_X=512 TRAY_Y=748 TRAY_W=512 TRAY_H=20

# Prints "MODE COUNT X Y": the mode the icons show (ewts: maroon, english:
# blue, none), how many icons of ours there are, and a point in the lower
# half of the rightmost one, in screen coordinates.
tray_scan() {
    import -window root -crop "${TRAY_W}x${TRAY_H}+$TRAY_X+$TRAY_Y" +repage -depth 8 rgb:- 2>/dev/null |
        python3 -c '
import sys
width, left, top = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
data = sys.stdin.buffer.read()
red, blue, columns, rows = 0, 0, set(), []
for i in range(0, len(data) - 2, 3):
    r, g, b = data[i], data[i + 1], data[i + 2]
    is_red = r > 90 and g < 60 and b < 60
    is_blue = b > 150 and r < 60 and g < 60
    if is_red or is_blue:
        red += is_red
        blue += is_blue
        columns.add(i // 3 % width)
        rows.append(i // 3 // width)
mode = "none" if red < 20 and blue < 20 else "ewts" if red > blue else "english"
icons, last = [], None
for x in sorted(columns):
    if last is None or x > last + 3:
        icons.append([x, x])
    icons[-1][1] = last = x
if icons:
    x = left + (icons[-1][0] + icons[-1][1]) // 2
    y = top + max(rows) - 3
else:
    x = y = 0
print(mode, len(icons), x, y)
' "$TRAY_W" "$TRAY_X" "$TRAY_Y"
}

tray_shows() {
    local mode count x y
    read -r mode count x y < <(tray_scan)
    [ "$mode" = "$1" ] && [ "$count" = "$2" ]
}

# expect_tray NAME MODE COUNT: waits for the notification area to show COUNT
# icons of ours in MODE, and counts the check.
expect_tray() {
    if e2e_wait_for "the notification area to show $3 icon(s) in $2 mode" tray_shows "$2" "$3"; then
        e2e_pass "$1"
    else
        e2e_fail "$1 (notification area: $(tray_scan))"
        import -window root "$E2E_DIR/tray-failure.png" 2>/dev/null
    fi
}

# The icon's tooltip: a small untitled window of Wine's explorer (the task
# bar is as wide as the screen, the start balloon 70 pixels high).
tooltip_shown() {
    local id x y w h
    for id in $(xdotool search --onlyvisible --class '^explorer\.exe$' 2>/dev/null); do
        [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] || continue
        read -r x y w h < <(e2e_window_geometry "$id")
        [ "$w" -lt 600 ] && [ "$h" -lt 40 ] && return 0
    done
    return 1
}

# click_icon BUTTON: points at the icon and clicks. Wine's notification area
# drops a click that comes with the pointer's arrival; its tooltip shows once
# it has taken the pointer in, and also proves the icon has a tooltip.
click_icon() {
    local mode count x y
    read -r mode count x y < <(tray_scan)
    [ "$count" -ge 1 ] || e2e_die "no notification icon to click"
    xdotool mousemove $((x - 200)) $((y - 200))
    xdotool mousemove "$x" "$y"
    e2e_wait_for "the icon's tooltip" tooltip_shown || e2e_fail "the icon shows no tooltip under the pointer"
    xdotool click "$1"
}

# Succeeds when none of our icons is in the notification area.
tray_empty() {
    local mode count x y
    read -r mode count x y < <(tray_scan)
    [ "$mode" = none ]
}

# A balloon over the icon: an untitled window of Wine's explorer, taller than
# a tooltip (the start balloon is 70 pixels high).
balloon_shown() {
    local id x y w h
    for id in $(xdotool search --onlyvisible --class '^explorer\.exe$' 2>/dev/null); do
        [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] || continue
        read -r x y w h < <(e2e_window_geometry "$id")
        [ "$w" -lt 600 ] && [ "$h" -ge 40 ] && [ "$h" -lt 200 ] && return 0
    done
    return 1
}
