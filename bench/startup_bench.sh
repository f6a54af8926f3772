#!/usr/bin/env bash
# Whole-process start-up: from starting the real executable under a private Xvfb with openbox
# until its main window is mapped and visible, with the built-in default catalogue and with a
# catalogue of 1,000,000 entries; and the process's peak memory (VmHWM) once the window is up.
# Usage: startup_bench.sh PALQUIN_EXECUTABLE [RUNS]
set -uo pipefail
. "$(dirname "$0")/../tests/e2e/x_session.sh"
exe=$1
runs=${2:-5}

start_x
now_ms() { date +%s%3N; }

# One start in the folder $1; prints "milliseconds peak_kB".
one_start() {
    cp "$exe" "$1/palquin"
    local t0 t1 pid win hwm
    t0=$(now_ms)
    HOME="$WORK" "$1/palquin" >/dev/null 2>&1 &
    pid=$!
    win=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Dorvik' | head -1)
    t1=$(now_ms)
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    [ -n "$win" ] && xdotool windowactivate --sync "$win" && xdotool key --clearmodifiers alt+F4
    wait "$pid"
    echo "$((t1 - t0)) $hwm"
}

report() {  # name folder
    local times=() peaks=() t p
    one_start "$2" >/dev/null  # warm the file cache
    for _ in $(seq "$runs"); do
        read -r t p < <(one_start "$2")
        times+=("$t"); peaks+=("$p")
    done
    local median
    median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
    local peak
    peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
    printf '%-28s median %5d ms  (runs: %s)  peak memory %6.1f MB\n' "$1" "$median" \
        "${times[*]}" "$(awk -v p="$peak" 'BEGIN { print p / 1024 }')"
}

mkdir -p "$WORK/default" "$WORK/million"
# The default catalogue is written by the first start of an empty folder.
awk 'BEGIN { for (i = 0; i < 1000000; i++)
                 printf "%d;%d;%s;Satellite %d, a test entry;http://example.org/%d;;\r\n",
                        i % 180, i % 10, (i % 2 ? "E" : "W"), i, i;
             printf "------------------\r\n55.75\r\nN\r\n37.6\r\nE\r\n600\r\n" }' \
    >"$WORK/million/satellite.txt"
echo "== start-up to the visible main window (Xvfb + openbox, $runs runs) =="
report "default catalogue" "$WORK/default"
report "1,000,000 entries ($(( $(stat -c %s "$WORK/million/satellite.txt") / 1048576 )) MB)" "$WORK/million"
