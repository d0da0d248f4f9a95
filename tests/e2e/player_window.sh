#!/usr/bin/env bash
# The player window in the real program under a virtual X server, with our default
# skin: clicks at the controls' coordinates drive it, SDL's disk driver captures the
# sound, Dezidu.ini and screenshots show the rest.
#
# Usage: player_window.sh <dezidu> <demo-folder> [screenshot-folder]   (under xvfb-run)
set -u
exe=$1
demo=$2
shots=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

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
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" 2>/dev/null &
pid=$!
wait_for_window
sleep 0.5

geometry() { xdotool getwindowgeometry --shell "$win" | tr '\n' ' '; }
origin() { eval "$(xdotool getwindowgeometry --shell "$win")"; wx=$X; wy=$Y; ww=$WIDTH; wh=$HEIGHT; }
# Window-relative clicks and drags (logical pixels at 1x).
at() { origin; xdotool mousemove --sync $((wx + $1)) $((wy + $2)); }
click() { at "$1" "$2"; xdotool click 1; sleep 0.35; }
drag() {
    at "$1" "$2"; xdotool mousedown 1; sleep 0.25
    xdotool mousemove --sync $((wx + $3)) $((wy + $4)); sleep 0.35
    xdotool mouseup 1; sleep 0.35
}
# A w x h crop of the window at (x, y) into a file.
shot() {
    origin
    import -window root -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage "$1" 2>/dev/null
}
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
ini() { grep -a "^$1=" "$work/Dezidu.ini" | head -1 | cut -d= -f2 | tr -d '\r'; }

size() { stat -c %s "$raw" 2>/dev/null || echo 0; }
loud() {
    sleep "$1"
    local from to
    from=$(size); sleep "$2"; to=$(size)
    [ "$to" -gt "$from" ] || { echo 0; return; }
    tail -c +"$((from + 1))" "$raw" | head -c "$((to - from))" |
        od -An -v -tx1 | tr -s ' ' '\n' | grep -v '^$' | grep -vc '^00$'
}
expect_sound() { local n; n=$(loud 0.2 0.5); echo "$1: $n loud bytes"; [ "$n" -gt 1000 ] || fail "$1: no sound"; }
expect_silence() { local n; n=$(loud 0.4 0.5); echo "$1: $n loud bytes"; [ "$n" = 0 ] || fail "$1: not silent"; }

origin
[ "$ww" = 275 ] && [ "$wh" = 116 ] || fail "window is $ww x $wh, not 275 x 116"
[ -n "$shots" ] && mkdir -p "$shots" && shot "$shots/player-stopped.png" 0 0 275 116

# The skin is drawn: the play button's pixels are the skin's play sprite.
convert "$work/skins/pxtone/CBUTTONS.BMP" -crop 23x18+23+0 +repage "$work/play.png"
convert "$work/skins/pxtone/CBUTTONS.BMP" -crop 23x18+23+18 +repage "$work/play-pressed.png"
shot "$work/now.png" 39 88 23 18
same "$work/now.png" "$work/play.png" || fail "the play button does not show the skin's sprite"
at 45 95; xdotool mousedown 1; sleep 0.35
shot "$work/now.png" 39 88 23 18
same "$work/now.png" "$work/play-pressed.png" || fail "the held play button does not look pressed"
at 10 95; sleep 0.3; xdotool mouseup 1; sleep 0.3  # released elsewhere: nothing happens
expect_silence "press on play, release outside"

click 45 95; expect_sound "play"
[ -n "$shots" ] && shot "$shots/player-playing.png" 0 0 275 116
click 70 95; expect_silence "pause"
click 70 95; expect_sound "pause again resumes"
click 115 95; expect_sound "next"
click 25 95; expect_sound "previous"

# A seek drag moves the time digits.
shot "$work/time-before.png" 36 26 63 13
drag 30 76 200 76
shot "$work/time-after.png" 36 26 63 13
same "$work/time-before.png" "$work/time-after.png" && fail "the seek drag did not move the time"
expect_sound "after the seek"
click 95 95; expect_silence "stop"

click 170 95
[ "$(ini Shuffle)" = 1 ] || fail "Shuffle not saved"
click 220 95
[ "$(ini Repeat)" = 1 ] || fail "Repeat not saved"
volume_before=$(ini Volume)
drag 165 62 130 62
volume_after=$(ini Volume)
echo "volume $volume_before -> $volume_after"
[ -n "$volume_after" ] && [ "$volume_after" != "$volume_before" ] || fail "the volume drag saved nothing"

# The title bar: a double click shades, another unshades; a drag moves the window.
at 100 5; xdotool click --repeat 2 --delay 80 1; sleep 0.5
origin; [ "$wh" = 14 ] || fail "double click did not shade ($ww x $wh)"
[ -n "$shots" ] && shot "$shots/shade.png" 0 0 275 14
at 100 5; xdotool click --repeat 2 --delay 80 1; sleep 0.5
origin; [ "$wh" = 116 ] || fail "double click did not unshade ($ww x $wh)"
origin; x0=$wx; y0=$wy
drag 100 5 150 35
origin
[ $((wx - x0)) = 50 ] && [ $((wy - y0)) = 30 ] || fail "title drag moved by $((wx - x0)), $((wy - y0))"
[ "$(ini WindowLeft)" = "$wx" ] || fail "position not saved ($(ini WindowLeft) != $wx)"

# D on the clutter bar doubles the window; again restores it.
click 14 50
origin; [ "$ww" = 550 ] && [ "$wh" = 232 ] || fail "double size gave $ww x $wh"
[ -n "$shots" ] && shot "$shots/player-2x.png" 0 0 550 232
xdotool mousemove --sync $((wx + 28)) $((wy + 100)); xdotool click 1; sleep 0.4
origin; [ "$ww" = 275 ] || fail "double size did not toggle back ($ww x $wh)"

# Eject opens the file dialog (another window appears); Escape closes it.
windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l; }
before=$(windows)
click 147 97; sleep 1
[ "$(windows)" -gt "$before" ] || fail "eject opened no dialog"
xdotool key Escape; sleep 0.5

kill -TERM "$pid"
wait "$pid"; rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
echo PASS
