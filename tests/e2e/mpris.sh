#!/usr/bin/env bash
# The player on the session bus, driven by a real media controller (playerctl): play,
# pause, skip, seek, volume, shuffle, loop, open and quit. SDL's disk driver captures the
# sound; the skinned window must show what the same commands from the keys show (the
# play-state lamp, the song title, the shuffle and repeat buttons); Dezidu.ini keeps the
# modes. A second player with another settings file takes the name with its pid.
#
# Usage: mpris.sh <dezidu> <ptrender> <demo-folder>
#        (under dbus-run-session and xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
work=$(mktemp -d)
helpers=()
trap 'for p in "${helpers[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus: run under dbus-run-session"

mkdir -p "$work/skins"
cp -r "$demo/skins/pxtone" "$work/skins/"
cp "$demo"/*.ptcop "$work/"
cat > "$work/Dezidu.ini" <<INI
[Setting]
SelectSkin=pxtone
VisiblePledit=0
[Playlist]
File1=$work/morning-steps.ptcop
File2=$work/echo-hall.ptcop
File3=$work/backyard-groove.ptcop
NumberOfEntries=3
INI
raw=$work/out.raw
unset QT_QPA_PLATFORM
cd "$work"
DEZIDU_SHUTDOWN_LOG=$work/shutdown.log SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" \
    2>/dev/null &
pid=$!
wait_for_window

# The track id without the quotes playerctl puts around an object path.
trackid() { pc metadata mpris:trackid | tr -d "'"; }
until_is dezidu bash -c "playerctl -l 2>/dev/null | grep -x dezidu" || fail "dezidu is not on the bus"
prop() {
    dbus-send --print-reply=literal --dest="$1" /org/mpris/MediaPlayer2 \
        org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2 string:"$2" |
        sed 's/^ *variant *//'
}
[ "$(prop org.mpris.MediaPlayer2.dezidu Identity)" = Dezidu ] || fail "Identity"
[ "$(prop org.mpris.MediaPlayer2.dezidu DesktopEntry)" = dezidu ] || fail "DesktopEntry"
dbus-monitor --session "type='signal',interface='org.mpris.MediaPlayer2.Player',member='Seeked'" \
    > "$work/seeked.txt" 2>/dev/null &
helpers+=($!)

# The play-state lamp, the song title and the shuffle and repeat buttons after a frame.
window_state() {
    sleep 0.35
    shot "$work/$1-lamp.png" 24 28 11 9
    shot "$work/$1-title.png" 111 24 154 13
    shot "$work/$1-modes.png" 164 89 74 15
}
# The window shows what it showed in the key-driven state $2 (parts: lamp title modes).
window_like() {
    local now=$1 ref=$2 part
    shift 2
    window_state "$now"
    for part in "$@"; do
        same "$work/$now-$part.png" "$work/$ref-$part.png" ||
            fail "$now: the window's $part is not as after $ref"
    done
}


# References from the keys: X plays the first tune, B the second, Z back, C pauses, V stops;
# S and R light shuffle and repeat.
xdotool windowfocus --sync "$win" || fail "cannot focus the window"
window_state stopped
press x; sleep 0.3; window_state key-play1
press b; sleep 0.3; window_state key-play2
press z; press c; sleep 0.3; window_state key-paused
press v; sleep 0.3; window_state key-stopped
press s; press r; sleep 0.3; window_state key-modes
press s; press r; sleep 0.3
same "$work/key-play1-title.png" "$work/key-play2-title.png" && fail "the two titles look alike"
same "$work/key-play1-lamp.png" "$work/key-paused-lamp.png" && fail "the lamps look alike"
same "$work/stopped-modes.png" "$work/key-modes-modes.png" && fail "S and R lit nothing"
expect_silence "stopped by the keys"
[ "$(pc status)" = Stopped ] || fail "status after V is $(pc status)"

# The status changes as a controller that follows the signals sees them.
playerctl -p dezidu --follow status > "$work/follow.txt" 2>/dev/null &
helpers+=($!)
until_is Stopped head -1 "$work/follow.txt" || fail "playerctl --follow showed nothing"

pc play
until_is Playing pc status || fail "play: not Playing"
expect_sound "play"
window_like bus-play1 key-play1 lamp title
[ "$(pc metadata xesam:title)" = "Morning Steps" ] || fail "title $(pc metadata xesam:title)"
[ "$(pc metadata xesam:url)" = "file://$work/morning-steps.ptcop" ] || fail "url"
[ "$(pc metadata mpris:length)" = 45000000 ] || fail "length $(pc metadata mpris:length)"
[ "$(trackid)" = /org/dezidu/track/0 ] || fail "trackid"

pc pause
until_is Paused pc status || fail "pause: not Paused"
expect_silence "pause"
window_like bus-paused key-paused lamp title
pc play-pause
until_is Playing pc status || fail "play-pause: not Playing"
expect_sound "play-pause resumes"

pc next
until_is "Echo Hall" pc metadata xesam:title || fail "next: title"
expect_sound "next"
window_like bus-play2 key-play2 lamp title
[ "$(trackid)" = /org/dezidu/track/1 ] || fail "next: trackid"
pc previous
until_is "Morning Steps" pc metadata xesam:title || fail "previous: title"
window_like bus-play1b key-play1 lamp title

# SetPosition to 20 s: the capture holds what ptrender renders from sample 20 * 44100 (within
# a sample), the position reads 20 s and Seeked carried it.
pc position 20
sleep 0.3
pos=$(pc position)
echo "position after SetPosition 20: $pos"
python3 -c "import sys; sys.exit(0 if 20 <= float('$pos') < 21.5 else 1)" || fail "position $pos"
expect_sound "after SetPosition"
heard_from "$work/morning-steps.ptcop" 882000
[ "$heard" != none ] || fail "the sound after SetPosition is not the tune from 20 s"
grep -q 'int64 2[01][0-9]\{6\}$' "$work/seeked.txt" || fail "no Seeked signal near 20 s"
# Seek by -15 s, then past the end: the latter moves on to the next tune.
before=$(pc position)
pc position 15-
sleep 0.3
pos=$(pc position)
echo "position $before, after Seek -15 s: $pos"
python3 -c "import sys; d = float('$before') - 15 - float('$pos'); sys.exit(0 if -1.5 < d <= 0 else 1)" ||
    fail "Seek -15 s went from $before to $pos"
pc position 100+
until_is "Echo Hall" pc metadata xesam:title || fail "Seek past the end did not move on"
expect_sound "Seek past the end"

pc volume 0.25
until_is 0.250000 pc volume || fail "volume"
sleep 0.3
[ "$(ini Volume)" = 25 ] || fail "Volume in Dezidu.ini is $(ini Volume)"
pc shuffle On
pc loop Track
until_is Track pc loop || fail "loop Track"
until_is On pc shuffle || fail "shuffle On"
window_like bus-modes key-modes modes
[ "$(ini Shuffle)" = 1 ] && [ "$(ini Repeat)" = 1 ] || fail "Shuffle and Repeat not saved"
pc loop Playlist  # not a mode of the player: nothing changes
sleep 0.3
[ "$(pc loop)" = Track ] || fail "loop Playlist changed the loop to $(pc loop)"
pc shuffle Off
pc loop None
until_is None pc loop || fail "loop None"
until_is Off pc shuffle || fail "shuffle Off"
[ "$(ini Shuffle)" = 0 ] && [ "$(ini Repeat)" = 0 ] || fail "Shuffle and Repeat not cleared"

pc stop
until_is Stopped pc status || fail "stop: not Stopped"
expect_silence "stop"
window_like bus-stopped key-stopped lamp title

# OpenUri adds the tune and plays it.
pc open "file://$work/backyard-groove.ptcop"
until_is "Backyard Groove" pc metadata xesam:title || fail "open: title"
until_is Playing pc status || fail "open: not Playing"
[ "$(trackid)" = /org/dezidu/track/3 ] || fail "open: trackid"
expect_sound "open"

sleep 0.3
follow=$(uniq "$work/follow.txt" | tr '\n' ' ')
echo "statuses signalled: $follow"
[ "$follow" = "Stopped Playing Paused Playing Stopped Playing " ] ||
    fail "the status changes were not signalled as they happened"

# A player with another settings file takes the name with its pid; Quit closes it.
mkdir "$work/second"
cd "$work/second"
SDL_AUDIODRIVER=dummy DEZIDU_SHUTDOWN_LOG=$work/second.log "$exe" 2>/dev/null &
pid2=$!
cd "$work"
until_is "dezidu.instance$pid2" bash -c "playerctl -l 2>/dev/null | grep -x 'dezidu.instance$pid2'" ||
    { kill -9 "$pid2"; fail "the second player is not on the bus as dezidu.instance$pid2"; }
dbus-send --print-reply --dest="org.mpris.MediaPlayer2.dezidu.instance$pid2" \
    /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit >/dev/null || fail "Quit call failed"
for _ in $(seq 1 50); do kill -0 "$pid2" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid2" 2>/dev/null && { kill -9 "$pid2"; fail "Quit did not end the second player"; }
wait "$pid2"; rc=$?
[ "$rc" = 0 ] && [ "$(cat "$work/second.log")" = shutdown ] || fail "second player: exit $rc"

dbus-send --print-reply --dest=org.mpris.MediaPlayer2.dezidu /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Quit >/dev/null || fail "Quit call failed"
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Quit did not end the player"
wait "$pid"; rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
[ "$(cat "$work/shutdown.log")" = shutdown ] || fail "the shutdown sequence did not run once"
echo PASS
