#!/usr/bin/env bash
# The built program as a user runs it: a private X display with a window manager, a hand-written
# Windows-1251 catalogue with CR LF beside the program, satellites chosen with the mouse in the
# central slot and two others (one below the horizon, whose message is answered), a zoom in and
# out, a new focal length typed in, and the window closed through the window manager.
# Usage: window_e2e.sh PALQUIN_EXECUTABLE
set -uo pipefail
. "$(dirname "$0")/x_session.sh"
exe=$1

start_x
mkdir -p "$WORK/prog" "$WORK/home"
cp "$exe" "$WORK/prog/palquin"
# Three entries: 36 E and 13 E are seen from Moscow, 140 E (a Cyrillic name in Windows-1251)
# lies below the horizon there.
printf '36;0;E;Eutelsat 36B;http://a/36;;\r\n13;0;E;Hot Bird 13;;;\r\n140;0;E;\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1-\xc0\xcc5;;;\r\n' \
    >"$WORK/catalogue"
printf -- '------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n' >"$WORK/settings"
cat "$WORK/catalogue" "$WORK/settings" >"$WORK/prog/satellite.txt"

cd "$WORK/home"
HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config" \
    "$WORK/prog/palquin" >"$WORK/palquin.log" 2>&1 &
pid=$!
PIDS+=($pid)

win=$(wait_window '^Dorvik - ')
[ -n "$win" ] || fail "the main window did not appear: $(cat "$WORK/palquin.log")"
xdotool windowactivate --sync "$win" >/dev/null 2>&1
read_geometry "$win"
[ "$WIN_W" -eq 757 ] || fail "main window is $WIN_W px wide, 757 expected"


choose 0 0 3   # central: 36 E
choose 2 1 3   # slot 2: 13 E
choose 7 2 3   # slot 7: 140 E, below the horizon
# The visibility message of slot 7: at its choice, and again at each zoom step, which
# recalculates every slot.
answer_message() {  # when
    local box n=0
    box=$(wait_window '^!!!!!$')
    [ -n "$box" ] || fail "no message for the satellite below the horizon $1"
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
    while xdotool search --onlyvisible --name '^!!!!!$' >/dev/null 2>&1; do
        n=$((n + 1)); [ $n -gt 100 ] && fail "the message window did not close on Enter"
        sleep 0.1
    done
}
answer_message "at its choice"

# Zoom in and out: cmdMax and cmdMin in Frame4 at (120, 5640).
click_tw "$win" 120 5640 $((10870 + 127)) $((2670 + 97))
answer_message "after zooming in"
click_tw "$win" 120 5640 $((10560 + 127)) $((2670 + 97))
answer_message "after zooming out"

# A new focal length: fokus in Frame2 at (120, 60).
click_tw "$win" 120 60 $((7980 + 450)) $((360 + 157))
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace
xdotool type 650

# Close through the window manager (openbox binds Alt+F4 to its close action).
xdotool windowactivate --sync "$win"
xdotool key --clearmodifiers alt+F4
wait_exit "$pid" "the program"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$WORK/palquin.log")"

{ cat "$WORK/catalogue"; printf -- '------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n650\r\n'; } >"$WORK/expected"
cmp "$WORK/expected" "$WORK/prog/satellite.txt" ||
    fail "satellite.txt is not the catalogue unchanged with the new focal length: $(od -c "$WORK/prog/satellite.txt" | tail -5)"
[ -z "$(ls -A "$WORK/home/data" 2>/dev/null)" ] || fail "a per-user catalogue was made beside a writable program"
echo "PASSED: message answered, window closed by the window manager, catalogue kept, settings saved"
