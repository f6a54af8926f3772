#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program on a private X display with a window manager. Beside a Windows-1251 catalogue:
# satellites chosen with the mouse, the message of one below the horizon answered, a focal length
# typed in, and a close by the window manager saves it. Installed in a temporary root under
# /usr/local, as "nobody" when run as root: the catalogue goes to the user's data folder.
# Usage: window_e2e.sh BUILD_DIR DEFAULT_SATELLITE_TXT
set -uo pipefail
. "$(dirname "$0")/x_session.sh"
build=$(realpath "$1")
default=$(realpath "$2")
start_x
mkdir -p "$WORK/prog" "$WORK/home" "$WORK/run"
chmod 700 "$WORK/run"
cd "$WORK/home"
start() {  # program [a command that runs it as another user...]
    HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config" \
        XDG_RUNTIME_DIR="$WORK/run" "${@:2}" "$1" >"$WORK/palquin.log" 2>&1 &
    pid=$!
    PIDS+=($pid)
    win=$(wait_window '^Dorvik - ')
    [ -n "$win" ] || fail "the main window did not appear: $(cat "$WORK/palquin.log")"
    xdotool windowactivate --sync "$win" >/dev/null 2>&1
}
close() {  # openbox binds Alt+F4 to its close action
    xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4
    wait_exit "$pid" "the program" || fail "status $?: $(cat "$WORK/palquin.log")"
}

# 36 E and 13 E are seen from Moscow, 140 E (a Cyrillic name in Windows-1251) is not.
printf '36;0;E;Eutelsat 36B;http://a/36;;\r\n13;0;E;Hot Bird 13;;;\r\n140;0;E;\xdd\xea\xf1\xef\xf0\xe5\xf1\xf1-\xc0\xcc5;;;\r\n' \
    >"$WORK/catalogue"
settings() { printf -- '------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n%s\r\n' "$1"; }
cat "$WORK/catalogue" <(settings 600) >"$WORK/prog/satellite.txt"
cp "$build/palquin" "$WORK/prog/palquin"
start "$WORK/prog/palquin"
read_geometry "$win"
choose 0 0 3  # central: 36 E
choose 2 1 3  # slot 2: 13 E
choose 7 2 3  # slot 7: 140 E, below the horizon
box=$(wait_window '^!!!!!$')
[ -n "$box" ] || fail "no message for the satellite below the horizon"
xdotool windowactivate --sync "$box" key --clearmodifiers Return
retry 100 eval '! xdotool search --onlyvisible --name "^!!!!!$"' || fail "the message stayed open"
click_tw "$win" 120 60 $((7980 + 450)) $((360 + 157))  # fokus in Frame2 at (120, 60)
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace type 650
close
cmp <(cat "$WORK/catalogue" <(settings 650)) "$WORK/prog/satellite.txt" ||
    fail "not the catalogue with the new focal length: $(od -c "$WORK/prog/satellite.txt" | tail -5)"
[ -z "$(ls -A "$WORK/home/data" 2>/dev/null)" ] || fail "a per-user catalogue beside a writable program"

DESTDIR="$WORK/root" cmake --install "$build" --prefix /usr/local >"$WORK/install.log" 2>&1 ||
    fail "install failed: $(cat "$WORK/install.log")"
bin="$WORK/root/usr/local/bin"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || skip "running as root and setpriv is missing"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chown -R nobody:nogroup "$WORK/home" "$WORK/run"
else
    chmod -R a-w "$WORK/root"
fi
"${as_user[@]}" test -w "$bin" && skip "the install folder is writable for the user that runs the program"
start "$bin/palquin" "${as_user[@]}"
close
user_file="$WORK/home/data/palquin/satellite.txt"
[ -f "$user_file" ] || fail "no per-user catalogue at $user_file: $(cat "$WORK/palquin.log")"
sep=$(grep -n -a -m1 '^------------------' "$default" | cut -d: -f1)
cmp <(head -n "$sep" "$default") <(head -n "$sep" "$user_file") || fail "not the built-in catalogue"
[ ! -e "$bin/satellite.txt" ] || fail "a catalogue was written beside the installed program"
echo "PASSED: message answered, settings saved on a close by the window manager; installed: $user_file"
