#!/usr/bin/env bash
# The real program under a virtual X server with the three demo tunes dropped on
# it, driven by key presses; SDL's disk driver captures the sound:
# X starts sound, C pauses (silence) and resumes it, B and Z move (sound goes on),
# V stops it (silence), R keeps the last tune playing past its end.
#
# Usage: player_keys.sh <dezidu> <demo-folder>   (run under xvfb-run)
set -u
exe=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

raw=$work/out.raw
unset QT_QPA_PLATFORM
cd "$work"
DEZIDU_TEST_DROP="$demo/morning-steps.ptcop
$demo/echo-hall.ptcop
$demo/backyard-groove.ptcop" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" 2>/dev/null &
pid=$!

wait_for_window
xdotool windowfocus --sync "$win" || fail "cannot focus the window"


sleep 0.5
expect_silence "after the drop"
press x; expect_sound "X"
press c; expect_silence "C"
press c; expect_sound "C again"
press b; expect_sound "B"
press z; expect_sound "Z"
press v; expect_silence "V"
press x; expect_sound "X again"
# On the last tune, Ctrl+B jumps to its end: with repeat on (R) it plays on from
# its repeat point; with repeat off the list is over and the sound stops.
press b; press b
press r; press ctrl+b; expect_sound "R on, Ctrl+B on the last tune"
press r; press ctrl+b; expect_silence "R off, Ctrl+B on the last tune"

kill -TERM "$pid"
wait "$pid"; rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
echo PASS
