#!/usr/bin/env bash
# The resume point across restarts of the real program (under a virtual X server and a
# private session bus, SDL's disk driver capturing the sound), with the three demo tunes:
#   run 1: X, B (the second tune plays), C pauses it a few seconds in; the window's close
#          button ends the player, which stores Current=1, Position= and CurrentFile=;
#   run 2: the player comes back on that tune paused: the bus says Paused with its title and
#          that position, the time display and the seek bar look as when it was paused; X goes
#          on from the stored sample (the capture holds ptrender's render from that sample, not
#          the tune's opening); SIGTERM while it plays stores the new position;
#   run 3: a tune given on the command line plays instead;
#   run 4: the list changed at the stored index: the player starts stopped, X plays the
#          first entry.
#
# Usage: resume.sh <dezidu> <ptrender> <demo-folder>   (under dbus-run-session and xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus: run under dbus-run-session"

mkdir -p "$work/skins"
cp -r "$demo/skins/pxtone" "$work/skins/"
tunes=(morning-steps echo-hall backyard-groove)
for t in "${tunes[@]}"; do cp "$demo/$t.ptcop" "$work/" || fail "cannot copy $t"; done
playlist() {
    echo "[Playlist]"
    local n=0 t
    for t in "$@"; do
        n=$((n + 1))
        echo "File$n=$work/$t.ptcop"
    done
    echo "NumberOfEntries=$n"
}
{
    echo "[Setting]"
    echo "SelectSkin=pxtone"
    playlist "${tunes[@]}"
} > "$work/Dezidu.ini"
unset QT_QPA_PLATFORM
cd "$work"

start() {
    raw=$1
    shift
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" "$@" 2>/dev/null &
    pid=$!
    wait_for_window
    xdotool windowfocus --sync "$win" || fail "cannot focus the window"
    until_is dezidu bash -c "playerctl -l 2>/dev/null | grep -x dezidu" || fail "not on the bus"
}
# Waits up to 20 s for the program to end by itself with status 0.
ended() {
    for _ in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$1: the program did not end"
    wait "$pid"
    local rc=$?
    pid=""
    [ "$rc" = 0 ] || fail "$1: exit code $rc"
}
# The time digits, the play-state lamp and the seek bar.
display() {
    sleep 0.5
    shot "$work/$1-time.png" 36 26 63 13
    shot "$work/$1-state.png" 24 28 11 9
    shot "$work/$1-seek.png" 16 72 248 10
}

# ---- run 1: pause the second tune a few seconds in, close with the close button ----
start "$work/run1.raw"
press x
until_is "Morning Steps" pc metadata xesam:title || fail "X: title"
press b
until_is "Echo Hall" pc metadata xesam:title || fail "B: title"
sleep 3
press c
until_is Paused pc status || fail "C: not Paused"
display run1
origin
xdotool mousemove "$((wx + 268))" "$((wy + 7))" click 1
ended "the close button"
current=$(ini Current)
position=$(ini Position)
echo "stored: Current=$current Position=$position CurrentFile=$(ini CurrentFile)"
[ "$current" = 1 ] || fail "Current=$current"
[ "$(ini CurrentFile)" = "$work/echo-hall.ptcop" ] || fail "CurrentFile"
sample=$(python3 -c "print(round($position * 44100))")
[ "$sample" -gt 44100 ] || fail "Position=$position is not a few seconds in"

# ---- run 2: back on the tune, paused there; X goes on from the stored sample ----
start "$work/run2.raw"
until_is Paused pc status || fail "run 2: not Paused"
[ "$(pc metadata xesam:title)" = "Echo Hall" ] || fail "run 2: title $(pc metadata xesam:title)"
pos=$(pc position)
echo "run 2 at start: position $pos"
python3 -c "import sys; sys.exit(0 if abs(float('$pos') - $position) < 0.01 else 1)" ||
    fail "run 2: position $pos, stored $position"
display run2
for part in time state seek; do
    same "$work/run1-$part.png" "$work/run2-$part.png" || fail "run 2: the $part differs"
done
press x
until_is Playing pc status || fail "run 2: X did not play"
sleep 1.5
heard_from "$work/echo-hall.ptcop" "$sample"
echo "run 2: the capture holds the render from sample $heard (stored $sample)"
[ "$heard" != none ] || fail "run 2: X did not go on from the stored position"
# The first 0.19 s after the pause, from the stored sample on.
"$ptrender" --start-sample "$sample" --seconds 1 "$work/echo-hall.ptcop" "$work/on.wav" >/dev/null ||
    fail "ptrender"
capture_holds "$raw" "$work/on.wav" 0 32768 || fail "run 2: X did not go on from sample $sample"
"$ptrender" --seconds 1 "$work/echo-hall.ptcop" "$work/opening.wav" >/dev/null || fail "ptrender"
capture_holds "$raw" "$work/opening.wav" 17640 32768 && fail "run 2: the tune started over"
sleep 1
kill -TERM "$pid"
ended "SIGTERM"
later=$(ini Position)
echo "stored after SIGTERM while playing: Position=$later"
[ "$(ini Current)" = 1 ] || fail "Current=$(ini Current) after run 2"
python3 -c "import sys; sys.exit(0 if $later > $position + 1 else 1)" ||
    fail "the position while playing was not stored ($later after $position)"

# ---- run 3: a tune on the command line plays, not the resume point ----
start "$work/run3.raw" "$work/backyard-groove.ptcop"
until_is Playing pc status || fail "run 3: not Playing"
[ "$(pc metadata xesam:title)" = "Backyard Groove" ] || fail "run 3: title"
kill -TERM "$pid"
ended "run 3"
[ "$(ini Current)" = 3 ] || fail "Current=$(ini Current) after run 3"

# ---- run 4: another file at the stored index: a start as without a resume point ----
python3 - "$work/Dezidu.ini" "$work" <<'PY'
import sys
path, work = sys.argv[1], sys.argv[2]
text = open(path).read().replace(f"File4={work}/backyard-groove.ptcop",
                                 f"File4={work}/echo-hall.ptcop")
open(path, "w").write(text)
PY
start "$work/run4.raw"
sleep 1
[ "$(pc status)" = Stopped ] || fail "run 4: $(pc status) with a changed list"
press x
until_is "Morning Steps" pc metadata xesam:title || fail "run 4: X did not play the first entry"
kill -TERM "$pid"
ended "run 4"
echo PASS
