#!/usr/bin/env bash
# Idle cost of the real program with nothing playing: CPU time (user + system, all
# threads) as a share of one core, and wake-ups per second (voluntary context switches
# summed over every thread), over a window of SECONDS after a settling time.
#
# Usage: bench/idle_cost.sh <dezidu> [SECONDS] [ROUNDS]
# Starts its own virtual X server with xvfb-run unless DISPLAY is set. Each round starts
# the program afresh in an empty folder (SDL's dummy audio driver), lets it settle for
# 2 s, measures, and ends it with SIGTERM. One line per round.
set -u
exe=$(realpath "$1")
seconds=${2:-10}
rounds=${3:-1}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$exe" "$seconds" "$rounds"
fi

hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# "tid name switches" per thread.
per_thread() {
    for t in /proc/"$1"/task/*; do
        printf '%s %s %s\n' "${t##*/}" "$(tr ' ' _ <"$t/comm")" \
            "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$t/status")"
    done 2>/dev/null
}
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }'
}

for round in $(seq 1 "$rounds"); do
    work=$(mktemp -d)
    (cd "$work" && unset QT_QPA_PLATFORM && SDL_AUDIODRIVER=dummy exec "$exe") &
    pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended at start"
        rm -rf "$work"
        exit 1
    fi
    threads=$(ls /proc/$pid/task | wc -l)
    t0=$(ticks "$pid"); c0=$(switches "$pid"); p0=$(per_thread "$pid"); s0=$(date +%s.%N)
    sleep "$seconds"
    t1=$(ticks "$pid"); c1=$(switches "$pid"); p1=$(per_thread "$pid"); s1=$(date +%s.%N)
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null
    rm -rf "$work"
    awk -v r="$round" -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$s0" -v e="$s1" \
        -v c0="$c0" -v c1="$c1" -v n="$threads" 'BEGIN {
            d = e - s
            printf "round %d: %.2f s, %d threads, CPU %.2f %% of one core, %.1f wake-ups/s\n",
                   r, d, n, 100 * (b - a) / hz / d, (c1 - c0) / d
        }'
    # The busiest threads (wake-ups per second), with DEZIDU_IDLE_THREADS=1.
    if [ -n "${DEZIDU_IDLE_THREADS:-}" ]; then
        join <(echo "$p0" | sort) <(echo "$p1" | sort) |
            awk -v d="$seconds" '{ printf "    %-16s %6.1f/s\n", $2, ($5 - $3) / d }' |
            sort -k2 -nr
    fi
done
