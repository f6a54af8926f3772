#!/usr/bin/env bash
# The installed layout (a DESTDIR install under /usr/local) started from its read-only folder:
# the catalogue goes to the user's data folder, created from the built-in default, and nothing is
# written beside the program. Root may write anywhere, so as root the program runs as "nobody".
# Usage: installed_e2e.sh BUILD_DIR DEFAULT_SATELLITE_TXT
set -uo pipefail
. "$(dirname "$0")/x_session.sh"
build=$(realpath "$1")
default=$(realpath "$2")

DESTDIR="$WORK/root" cmake --install "$build" --prefix /usr/local >"$WORK/install.log" 2>&1 ||
    fail "install failed: $(cat "$WORK/install.log")"
bin="$WORK/root/usr/local/bin"
[ -x "$bin/palquin" ] || fail "no program in $bin"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || skip "running as root and setpriv is missing"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    owner=nobody:nogroup
else
    chmod -R a-w "$WORK/root"
    owner=
fi
mkdir -p "$WORK/home" "$WORK/run"
chmod 700 "$WORK/run"
[ -n "$owner" ] && chown -R "$owner" "$WORK/home" "$WORK/run"
"${as_user[@]}" test -w "$bin" && skip "the install folder is writable for the user that runs the program"

start_x
cd "$WORK/home"
HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config" \
    XDG_RUNTIME_DIR="$WORK/run" "${as_user[@]}" "$bin/palquin" >"$WORK/palquin.log" 2>&1 &
pid=$!
PIDS+=($pid)
win=$(wait_window '^Dorvik - ')
[ -n "$win" ] || fail "the main window did not appear: $(cat "$WORK/palquin.log")"
xdotool windowactivate --sync "$win"
xdotool key --clearmodifiers alt+F4
wait_exit "$pid" "the installed program"
status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$WORK/palquin.log")"

user_file="$WORK/home/data/palquin/satellite.txt"
[ -f "$user_file" ] || fail "no per-user catalogue at $user_file: $(cat "$WORK/palquin.log")"
# The catalogue part is the built-in default's, byte for byte.
sep=$(grep -n -a -m1 '^------------------' "$default" | cut -d: -f1)
[ -n "$sep" ] || fail "no separator in $default"
cmp <(head -n "$sep" "$default") <(head -n "$sep" "$user_file") ||
    fail "the per-user catalogue is not the default one"
[ ! -e "$bin/satellite.txt" ] || fail "a catalogue was written beside the installed program"
echo "PASSED: the installed program used $user_file"
