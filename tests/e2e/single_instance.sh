#!/usr/bin/env bash
# One player per settings file, with the real program under a virtual X server:
#   a second start in the same folder with relative paths (a tune and a folder) hands
#   them to the running player and exits 0 without a window of its own; the running
#   player lists the tune and the folder's tunes (its Dezidu.ini) and plays the first
#   new entry (its rendered PCM is in SDL's disk capture); a start without arguments
#   exits 0 and changes nothing;
#   after SIGKILL the socket file stays, and the next start runs as the player (opens
#   its own arguments) and takes hand-overs in turn; SIGTERM removes the socket.
#
# Usage: single_instance.sh <dezidu> <ptrender> <demo-folder> [LIMIT_MS]   (under xvfb-run)
# A later start must be done within LIMIT_MS (1000 by default).
set -u
exe=$1
ptrender=$2
demo=$3
limit_ms=${4:-1000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$work/run  # the socket's folder, private to this test
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"
mkdir one tunes
cp "$demo/backyard-groove.ptcop" one/ || fail "cannot copy a demo tune"
cp "$demo/echo-hall.ptcop" "$demo/morning-steps.ptcop" tunes/ || fail "cannot copy demo tunes"
printf '[Setting]\nVolume=100\n' > Dezidu.ini
"$ptrender" --seconds 2 one/backyard-groove.ptcop first.wav >/dev/null || fail "ptrender"
"$ptrender" --seconds 2 tunes/morning-steps.ptcop second.wav >/dev/null || fail "ptrender"

# Fails unless the disk capture $1 holds a 64 KiB stretch of the render $2 (from 0.25 s).
expect_playing() { capture_holds "$1" "$2" 44100 65536 || fail "$3"; }

# Waits up to 5 s for the FileN and NumberOfEntries lines of the playlist section of
# Dezidu.ini to be exactly the arguments.
expect_playlist() {
    local want n=0 got
    want=$(for f in "$@"; do n=$((n + 1)); echo "File$n=$f"; done; echo "NumberOfEntries=$n")
    for _ in $(seq 1 50); do
        got=$(awk '/^\[/ { on = (tolower($0) == "[playlist]"); next } on' Dezidu.ini | grep -E '^(File[0-9]+|NumberOfEntries)=')
        [ "$got" = "$want" ] && return
        sleep 0.1
    done
    fail "playlist is
$got
want
$want"
}

# Runs a later start in this folder; fails unless it exits 0 within $limit_ms.
hand_over() {
    local t0 t1 rc
    t0=$(date +%s%N)
    timeout 5 "$exe" "$@" 2>"$work/handover.err"
    rc=$?
    t1=$(date +%s%N)
    [ "$rc" = 0 ] || fail "start with '$*' exited $rc: $(cat "$work/handover.err")"
    [ $(((t1 - t0) / 1000000)) -le "$limit_ms" ] ||
        fail "start with '$*' took $(((t1 - t0) / 1000000)) ms (limit $limit_ms)"
}

windows() { xdotool search --onlyvisible --name '^Dezidu$' 2>/dev/null | wc -l; }

# ---- a running player takes a later start's arguments ----
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/run1.raw "$exe" 2>/dev/null &
pid=$!
wait_for_window
hand_over one/backyard-groove.ptcop tunes
kill -0 "$pid" 2>/dev/null || fail "the running player ended"
[ "$(windows)" = 1 ] || fail "$(windows) windows after the hand-over"
expect_playlist "$work/one/backyard-groove.ptcop" "$work/tunes/echo-hall.ptcop" \
    "$work/tunes/morning-steps.ptcop"
echo "hand-over: three entries listed"
sleep 1.5
expect_playing "$work/run1.raw" "$work/first.wav" "the first new entry is not playing"
echo "hand-over: the first new entry plays"
hand_over
expect_playlist "$work/one/backyard-groove.ptcop" "$work/tunes/echo-hall.ptcop" \
    "$work/tunes/morning-steps.ptcop"
echo "start without arguments: handed over, nothing added"

# ---- a killed player leaves its socket; the next start replaces it ----
sock=$(ls "$XDG_RUNTIME_DIR"/*.sock 2>/dev/null)
[ -S "$sock" ] || fail "no socket in $XDG_RUNTIME_DIR"
perm=$(stat -c %a "$sock")
kill -9 "$pid"
wait "$pid" 2>/dev/null
for _ in $(seq 1 50); do [ "$(windows)" = 0 ] && break; sleep 0.1; done
[ -S "$sock" ] || fail "the killed player's socket is gone; nothing stale to replace"
# The argument plays as the program starts, while its sound device may still be opening.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/run2.raw "$exe" tunes/morning-steps.ptcop 2>/dev/null &
pid=$!
wait_for_window
expect_playlist "$work/one/backyard-groove.ptcop" "$work/tunes/echo-hall.ptcop" \
    "$work/tunes/morning-steps.ptcop" "$work/tunes/morning-steps.ptcop"
sleep 1.5
expect_playing "$work/run2.raw" "$work/second.wav" "the argument given at start-up is not playing"
echo "after SIGKILL: the next start runs, opens its argument and plays it"
hand_over "$work/one/backyard-groove.ptcop"
expect_playlist "$work/one/backyard-groove.ptcop" "$work/tunes/echo-hall.ptcop" \
    "$work/tunes/morning-steps.ptcop" "$work/tunes/morning-steps.ptcop" \
    "$work/one/backyard-groove.ptcop"
[ "$(windows)" = 1 ] || fail "$(windows) windows after the second hand-over"
echo "after SIGKILL: the new player takes hand-overs (socket mode $perm)"
kill -TERM "$pid"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "exit code $rc"
[ -e "$sock" ] && fail "the socket stays after a normal exit"
echo PASS
