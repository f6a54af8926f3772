#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Refreshes docs/palquin.png: the window after a calculation, on a private Xvfb with openbox.
# Usage: docs/make-screenshot.sh [PALQUIN_EXECUTABLE]   (default: build/palquin)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/e2e/x_session.sh"
exe=$(realpath "${1:-$here/../build/palquin}")
command -v import >/dev/null || skip "ImageMagick's import is not installed"

start_x
mkdir -p "$WORK/prog"
cp "$exe" "$WORK/prog/palquin"
HOME="$WORK" "$WORK/prog/palquin" >/dev/null 2>&1 &
pid=$!
PIDS+=($pid)
win=$(wait_window '^Dorvik - ')
[ -n "$win" ] || fail "no window"
xdotool windowactivate --sync "$win" >/dev/null 2>&1
read_geometry "$win"

# The default catalogue and the site in Moscow: four satellites from the top of the list, all
# above the horizon there.
choose 0 8 10
choose 1 6 10
choose 2 9 10
choose 3 5 10
xdotool mousemove 0 0
sleep 0.5  # let the last repaint reach the screen before the grab
import -window "$win" "$here/palquin.png"
xdotool windowactivate --sync "$win"
xdotool key --clearmodifiers alt+F4
wait_exit "$pid" "the program"
echo "written: $here/palquin.png"
