#!/usr/bin/env bash
# Running cost of the real program, idle (nothing playing) and playing a tune: CPU time
# (user + system, all threads) as a share of one core, and wake-ups per second
# (voluntary context switches summed over every thread), over a window of SECONDS after
# a settling time.
#
# Usage: bench/idle_cost.sh <dezidu> [SECONDS] [ROUNDS]
# Starts its own virtual X server with xvfb-run unless DISPLAY is set. Each round starts
# the program twice afresh in a copy of demo/ (the default skin, the playlist editor
# shown, SDL's dummy audio driver): once with nothing playing, once playing a demo tune
# given on its command line. Each run settles for 2 s, is measured, and ends with
# SIGTERM. One line per run.
set -u
exe=$(realpath "$1")
demo=$(realpath "$(dirname "$0")/../demo")
seconds=${2:-10}
rounds=${3:-1}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$exe" "$seconds" "$rounds"
fi

# Nanoseconds on a CPU, summed over the threads alive at the time (the scheduler's own
# count: exact, where the tick-sampled times in /proc/PID/stat would hide a cost this small).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
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

measure() {  # round, what, arguments of the program
    local round=$1 what=$2
    shift 2
    work=$(mktemp -d)
    cp -r "$demo"/. "$work"
    (cd "$work" && unset QT_QPA_PLATFORM && SDL_AUDIODRIVER=dummy exec "$exe" "$@") &
    pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended at start"
        rm -rf "$work"
        exit 1
    fi
    threads=$(ls /proc/$pid/task | wc -l)
    t0=$(cpu_ns "$pid"); c0=$(switches "$pid"); p0=$(per_thread "$pid"); s0=$(date +%s.%N)
    sleep "$seconds"
    t1=$(cpu_ns "$pid"); c1=$(switches "$pid"); p1=$(per_thread "$pid"); s1=$(date +%s.%N)
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null
    rm -rf "$work"
    awk -v r="$round" -v w="$what" -v a="$t0" -v b="$t1" -v s="$s0" -v e="$s1" \
        -v c0="$c0" -v c1="$c1" -v n="$threads" 'BEGIN {
            d = e - s
            printf "round %d %-7s %.2f s, %d threads, CPU %.2f %% of one core, %.1f wake-ups/s\n",
                   r, w ":", d, n, 100 * (b - a) / 1e9 / d, (c1 - c0) / d
        }'
    # The busiest threads (wake-ups per second), with DEZIDU_IDLE_THREADS=1.
    if [ -n "${DEZIDU_IDLE_THREADS:-}" ]; then
        join <(echo "$p0" | sort) <(echo "$p1" | sort) |
            awk -v d="$seconds" '{ printf "    %-16s %6.1f/s\n", $2, ($5 - $3) / d }' |
            sort -k2 -nr
    fi
}

for round in $(seq 1 "$rounds"); do
    measure "$round" idle
    measure "$round" playing morning-steps.ptcop
done
