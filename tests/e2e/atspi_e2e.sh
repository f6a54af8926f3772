#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program on a private X display, read and driven through the accessibility tree on a
# private session bus: the slot selectors, the focal-length field and the recalculate button are
# found by their accessible names, never by where they sit. Closing the window saves the settings
# into the catalogue beside the program.
# Usage: atspi_e2e.sh BUILD_DIR
set -uo pipefail
here=$(dirname "$(realpath "$0")")
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3  # the system Python, where python3-pyatspi puts the module

if [ -z "${PALQUIN_PRIVATE_BUS:-}" ]; then
    skip() { echo "SKIPPED: $*"; exit 77; }
    command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (package dbus)"
    [ -x "$launcher" ] || skip "$launcher is missing (package at-spi2-core)"
    [ -x "$python" ] || skip "$python is missing"
    "$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
    # A session bus of the test's own, never the desktop's; it ends with the script.
    PALQUIN_PRIVATE_BUS=1 exec timeout -k 5 150 dbus-run-session -- "$0" "$@"
fi

. "$here/x_session.sh"
build=$(realpath "$1")
start_x
# The accessibility bus of this session: the launcher starts it at once and the registry on it.
"$launcher" --launch-immediately >"$WORK/at-spi.log" 2>&1 &
PIDS+=($!)
retry 100 eval 'dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1' ||
    skip "the accessibility bus did not start: $(tail -1 "$WORK/at-spi.log")"

mkdir -p "$WORK/prog" "$WORK/home" "$WORK/run"
chmod 700 "$WORK/run"
printf '36;0;E;Eutelsat 36B;;;\r\n13;0;E;Hot Bird 13;;;\r\n19.2;0;E;Astra 1M;;;\r\n' >"$WORK/catalogue"
settings() { printf -- '------------------\r\n55.75\r\nN\r\n%s\r\nE\r\n%s\r\n' "${2:-37.6}" "$1"; }
cat "$WORK/catalogue" <(settings 600) >"$WORK/prog/satellite.txt"
cp "$build/palquin" "$WORK/prog/palquin"
cd "$WORK/home"
HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CONFIG_HOME="$WORK/home/config" \
    XDG_RUNTIME_DIR="$WORK/run" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    "$WORK/prog/palquin" >"$WORK/palquin.log" 2>&1 &
pid=$!
PIDS+=($pid)
win=$(wait_window '^Dorvik - ')
[ -n "$win" ] || fail "the main window did not appear: $(cat "$WORK/palquin.log")"

timeout -k 5 90 "$python" "$here/atspi_drive.py" "$pid"
status=$?
[ "$status" -eq 77 ] && exit 77
[ "$status" -eq 124 ] && fail "the accessibility tree did not answer within 90 s"
[ "$status" -eq 0 ] || fail "driving through the accessibility tree (status $status)"

# openbox closes the active window on Alt+F4, as a user would; the close saves the settings.
xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4
wait_exit "$pid" "the program" || fail "status $?: $(cat "$WORK/palquin.log")"
cmp <(cat "$WORK/catalogue" <(settings 650 170)) "$WORK/prog/satellite.txt" ||
    fail "not the catalogue with the new focal length: $(od -c "$WORK/prog/satellite.txt" | tail -5)"
echo "PASSED: selectors, fields and button found by name, its recalculation answered; settings saved"
