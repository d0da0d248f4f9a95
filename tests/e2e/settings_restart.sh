#!/usr/bin/env bash
# The real program under a virtual X server, started in a folder whose Dezidu.ini
# lists the three demo tunes (copies in that folder), with SDL's disk driver:
#   X plays the first listed tune (its rendered PCM is found in the capture, the
#   others' are not); S writes Shuffle=1 and R Repeat=1 to Dezidu.ini at once,
#   pressed again they write 0, and again 1;
#   after SIGTERM (exit code 0) and a restart, the Setting and Playlist sections
#   are what they were, S and R toggle from the restored 1 to 0, and V then X plays
#   the same first tune.
#
# Usage: settings_restart.sh <dezidu> <ptrender> <demo-folder>   (run under xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM
cd "$work"
# Listed out of name order, so "first" is the file's order and not a sort.
tunes=(echo-hall backyard-groove morning-steps)
for t in "${tunes[@]}"; do cp "$demo/$t.ptcop" "$work/" || fail "cannot copy $t"; done
{
    echo "[Setting]"
    echo "Volume=100"
    echo "[Playlist]"
    n=0
    for t in "${tunes[@]}"; do
        n=$((n + 1))
        echo "File$n=$work/$t.ptcop"
    done
    echo "NumberOfEntries=$n"
} > Dezidu.ini

# Two seconds of each tune as the program renders it by default (44100 Hz, stereo, 16 bits).
for t in "${tunes[@]}"; do
    "$ptrender" --seconds 2 "$work/$t.ptcop" "$work/$t.wav" >/dev/null || fail "ptrender $t"
done

start() {
    raw=$1
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" 2>/dev/null &
    pid=$!
    wait_for_window
    xdotool windowfocus --sync "$win" || fail "cannot focus the window"
    sleep 0.5
}

stop() {
    kill -TERM "$pid"
    wait "$pid"
    local rc=$?
    pid=""
    [ "$rc" = 0 ] || fail "exit code $rc"
}


# Waits up to 3 s for the line KEY=VALUE in Dezidu.ini.
expect_key() {
    local line="$1=$2"
    for _ in $(seq 1 30); do
        grep -qx "$line" Dezidu.ini 2>/dev/null && { echo "$3: $line"; return; }
        sleep 0.1
    done
    fail "$3: no line $line in Dezidu.ini"
}

# The section [$1] of Dezidu.ini, lines in file order.
section() {
    awk -v want="[$1]" '/^\[/ { on = (tolower($0) == tolower(want)); next } on' Dezidu.ini
}

# Which tune's rendered opening (a 64 KiB stretch after its first 0.25 s) is in the capture.
playing_tune() {
    python3 - "$1" "$work" "${tunes[@]}" <<'EOF'
import sys
raw = open(sys.argv[1], 'rb').read()
found = []
for t in sys.argv[3:]:
    wav = open(f"{sys.argv[2]}/{t}.wav", 'rb').read()
    pcm = wav[44:]
    probe = pcm[44100:44100 + 65536]
    if len(probe) == 65536 and any(probe) and raw.find(probe) >= 0:
        found.append(t)
print(" ".join(found) if found else "none")
EOF
}

# ---- first run ----
start "$work/run1.raw"
press x
sleep 1.5
got=$(playing_tune "$work/run1.raw")
echo "run 1, X plays: $got"
[ "$got" = "${tunes[0]}" ] || fail "X played '$got', not the first listed tune ${tunes[0]}"

press s; expect_key Shuffle 1 "S"
press r; expect_key Repeat 1 "R"
press s; expect_key Shuffle 0 "S again"
press r; expect_key Repeat 0 "R again"
press s; expect_key Shuffle 1 "S a third time"
press r; expect_key Repeat 1 "R a third time"
stop

setting1=$(section Setting)
playlist1=$(section Playlist)
echo "$playlist1" | grep -qx "NumberOfEntries=3" || fail "the playlist section lost its entries"
for i in 1 2 3; do
    echo "$playlist1" | grep -qx "File$i=$work/${tunes[$((i - 1))]}.ptcop" || fail "File$i changed"
done

# ---- second run: the same settings and playlist ----
start "$work/run2.raw"
[ "$(section Setting)" = "$setting1" ] || fail "the Setting section changed at restart"
[ "$(section Playlist)" = "$playlist1" ] || fail "the Playlist section changed at restart"
# Shuffle and repeat came back on: one press turns each off (with shuffle on, X would
# start the entry with the lowest shuffle key, drawn anew at every start).
press s; expect_key Shuffle 0 "S after the restart"
press r; expect_key Repeat 0 "R after the restart"
# The player came back paused where run 1 ended: V stops it, and X plays that (first) tune
# from its start.
press v
press x
sleep 1.5
got=$(playing_tune "$work/run2.raw")
echo "run 2, X plays: $got"
[ "$got" = "${tunes[0]}" ] || fail "after the restart X played '$got', not ${tunes[0]}"
stop
[ "$(section Playlist)" = "$playlist1" ] || fail "the Playlist section changed in the second run"
echo PASS
