#!/usr/bin/env bash
# The real program under a virtual X server, started from an empty folder:
# a top-level window "Dezidu" with a 275 x 116 client area centred in the work
# area; no file written at start; under 2 % of one core while idle; SIGTERM ends
# it with exit code 0 within 2 seconds after one run of the shutdown sequence.
#
# Usage: window_lifecycle.sh <dezidu> [idle-seconds]   (run under xvfb-run)
# DEZIDU_IDLE_CPU_LIMIT (percent, default 2) raises the idle bound for sanitizer builds,
# whose instrumented 100 ms cadence costs several times the normal CPU.
set -u
exe=$1
idle=${2:-10}
work=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$work" "$log"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM  # the program picks xcb itself
cd "$work"
DEZIDU_SHUTDOWN_LOG=$log SDL_AUDIODRIVER=dummy "$exe" &
pid=$!

wait_for_window

eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window $win at $X,$Y size ${WIDTH}x${HEIGHT}"
[ "$WIDTH" = 275 ] && [ "$HEIGHT" = 116 ] || fail "client area ${WIDTH}x${HEIGHT}, want 275x116"
read -r sw sh < <(xdotool getdisplaygeometry)
want_x=$(((sw - 275) / 2)); want_y=$(((sh - 116) / 2))
[ "$X" = "$want_x" ] && [ "$Y" = "$want_y" ] || fail "at $X,$Y, want $want_x,$want_y on ${sw}x${sh}"
class=$(xprop -id "$win" WM_CLASS 2>/dev/null || true)
echo "$class"

files=$(ls -A "$work")
[ -z "$files" ] || fail "files written at start: $files"

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$idle"
t1=$(ticks); s1=$(date +%s.%N)
cpu=$(awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$s0" -v e="$s1" \
      'BEGIN { printf "%.2f", 100 * (b - a) / hz / (e - s) }')
echo "idle CPU over ${idle}s: ${cpu} % of one core"
limit=${DEZIDU_IDLE_CPU_LIMIT:-2}
awk -v c="$cpu" -v l="$limit" 'BEGIN { exit !(c < l) }' || fail "idle CPU ${cpu} % >= ${limit} %"

start=$(date +%s%N)
kill -TERM "$pid"
for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running 2 s after SIGTERM"
wait "$pid"; rc=$?
ms=$((($(date +%s%N) - start) / 1000000))
echo "SIGTERM -> exit code $rc after ${ms} ms"
[ "$rc" = 0 ] || fail "exit code $rc"
n=$(grep -c shutdown "$log" || true)
[ "$n" = 1 ] || fail "shutdown sequence ran $n times"
files=$(ls -A "$work")
[ -z "$files" ] || fail "files left in the working folder: $files"
echo PASS
