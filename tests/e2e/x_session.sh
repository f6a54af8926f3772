# Shared by the end-to-end scripts: a private Xvfb with openbox, and helpers that drive the
# window with xdotool. Sourced, not run. Exit status 77 means "skipped".

skip() { echo "SKIPPED: $*"; exit 77; }
fail() {
    echo "FAILED: $*"
    # What the screen showed, for the one reading the test log.
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        local shot="${TMPDIR:-/tmp}/palquin-e2e-failure-$$.png"
        import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot"
    fi
    exit 1
}

for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps)"
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/palquin-e2e-XXXXXX")
chmod 755 "$WORK"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    chmod -R u+w "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A private display: Xvfb picks a free number and tells it on a file descriptor.
start_x() {
    exec 5>"$WORK/display"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -ac >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    exec 5>&-
    local n=0
    until [ -s "$WORK/display" ]; do
        kill -0 "${PIDS[-1]}" 2>/dev/null || skip "Xvfb cannot start: $(tail -1 "$WORK/xvfb.log")"
        n=$((n + 1)); [ $n -gt 200 ] && skip "Xvfb gave no display number"
        sleep 0.05
    done
    export DISPLAY=":$(head -1 "$WORK/display")"
    mkdir -p "$WORK/wm"
    HOME="$WORK/wm" openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    PIDS+=($!)
    # openbox owns the window-manager selection once it runs.
    n=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        kill -0 "${PIDS[-1]}" 2>/dev/null || skip "openbox cannot start: $(tail -1 "$WORK/openbox.log")"
        n=$((n + 1)); [ $n -gt 200 ] && skip "openbox did not take the display"
        sleep 0.05
    done
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

# Waits (bounded) for a visible window whose title matches; prints its id.
wait_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# The main window's geometry: WIN_W, WIN_H; MENU_H is what lies above the client area.
CLIENT_H_PX=602  # 9,030 twips
read_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WIN_W=$WIDTH; WIN_H=$HEIGHT
    MENU_H=$((WIN_H - CLIENT_H_PX))
}

# Clicks a point of the client area given in twips, inside a group placed at twips too.
click_tw() {  # window groupLeftTw groupTopTw xTw yTw
    local x=$(( ($2 + $4) / 15 )) y=$(( ($3 + $5) / 15 + MENU_H ))
    xdotool mousemove --window "$1" "$x" "$y" click 1
}

# The open list of a selector: the visible window of the program other than the main one.
wait_popup() {  # pid mainWindow
    local n=0 id
    while :; do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            [ "$id" != "$2" ] && { echo "$id"; return 0; }
        done
        n=$((n + 1)); [ $n -gt 200 ] && return 1
        sleep 0.05
    done
}

# Clicks row `row` of the open list that shows `rows` rows.
click_popup_row() {  # popup row rows
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local rowH=$(( (HEIGHT - 4) / $3 ))
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + 2 + rowH * $2 + rowH / 2))" click 1
}

# Waits (bounded) for a process to end by itself; fails if it does not.
# Chooses a satellite in a slot of the main window $win of process $pid: opens the slot's
# selector at its arrow (Frame1 at (120, 1200), columns 2,175 twips wide) and clicks row `row`
# of the list, which shows `rows` rows.
choose() {  # slot row rows
    local col=$(( $1 % 5 )) top=720
    [ "$1" -ge 5 ] && top=2760
    click_tw "$win" 120 1200 $(( 120 + col * 2175 + 2175 - 120 )) $(( top + 157 ))
    local popup
    popup=$(wait_popup "$pid" "$win") || fail "the list of slot $1 did not open"
    click_popup_row "$popup" "$2" "$3"
}

wait_exit() {  # pid what
    local n=0
    while kill -0 "$1" 2>/dev/null; do
        n=$((n + 1))
        [ $n -gt 300 ] && fail "$2 did not end after the window was closed"
        sleep 0.1
    done
    wait "$1"
}
