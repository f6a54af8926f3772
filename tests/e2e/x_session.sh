# SPDX-License-Identifier: GPL-3.0-or-later
# A private Xvfb with openbox, and helpers that drive the program's window with xdotool; sourced by
# the end-to-end tests, docs/make-screenshot.sh and bench/startup_bench.sh. Status 77: skipped.
skip() { echo "SKIPPED: $*"; exit 77; }
fail() {  # and keeps what the screen showed, for the one reading the test log
    echo "FAILED: $*"
    [ -n "${DISPLAY:-}" ] && import -window root "$WORK.png" 2>/dev/null && echo "screen: $WORK.png"
    exit 1
}
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done
WORK=$(mktemp -d "${TMPDIR:-/tmp}/palquin-e2e-XXXXXX")
chmod 755 "$WORK"
PIDS=()
trap 'kill "${PIDS[@]}" 2>/dev/null; wait 2>/dev/null; chmod -R u+w "$WORK"; rm -rf "$WORK"' EXIT

# Runs a command every tenth of a second until it succeeds, at most $1 times.
retry() {
    local n
    for ((n = $1; n > 0; n--)); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# A private display (Xvfb picks a free number and tells it on a file descriptor) with openbox,
# which owns the window-manager selection once it runs.
start_x() {
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -ac 5>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    retry 100 test -s "$WORK/display" || skip "Xvfb gave no display: $(tail -1 "$WORK/xvfb.log")"
    export DISPLAY=":$(head -1 "$WORK/display")"
    mkdir -p "$WORK/wm"
    HOME="$WORK/wm" openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    retry 100 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        skip "openbox did not take the display: $(tail -1 "$WORK/openbox.log")"
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}
# Waits (bounded) for a visible window whose title matches; prints its id.
wait_window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1; }
# MENU_H: what lies above the main window's client area of 602 px (9,030 twips).
read_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    MENU_H=$((HEIGHT - 602))
}
# Clicks a point of the client area given in twips, inside a group placed at twips too.
click_tw() {  # window groupLeftTw groupTopTw xTw yTw
    xdotool mousemove --window "$1" $((($2 + $4) / 15)) $((($3 + $5) / 15 + MENU_H)) click 1
}
# The open list of a selector: the visible window of process $pid other than its main one $win.
popup_open() {
    popup=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$win" | head -1)
    [ -n "$popup" ]
}
# Chooses a satellite in a slot of the main window: opens the slot's selector at its arrow (Frame1
# at (120, 1200), columns 2,175 twips wide) and clicks row `row` of its list of `rows` rows.
choose() {  # slot row rows
    local top=720
    [ "$1" -ge 5 ] && top=2760
    click_tw "$win" 120 1200 $(($1 % 5 * 2175 + 2175)) $((top + 157))
    retry 100 popup_open || fail "the list of slot $1 did not open"
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    local rowH=$(((HEIGHT - 4) / $3))
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 2 + rowH * $2 + rowH / 2)) click 1
}

# Waits (bounded) for a process to end by itself; returns its status.
wait_exit() {  # pid what
    retry 300 eval "! kill -0 $1 2>/dev/null" || fail "$2 did not end after the window was closed"
    wait "$1"
}
