#!/usr/bin/env bash
# The player window in the real program under a virtual X server, with our default
# skin: clicks at the controls' coordinates drive it, SDL's disk driver captures the
# sound, Dezidu.ini and screenshots show the rest.
#
# Usage: player_window.sh <dezidu> <ptrender> <demo-folder> [screenshot-folder]
#        (under xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
shots=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

mkdir -p "$work/skins"
cp -r "$demo/skins/pxtone" "$work/skins/"
cp "$demo"/*.ptcop "$work/"
# A tune whose name is Japanese (Shift-JIS bytes in its name chunk): 朝のステップ.
python3 - "$work/morning-steps.ptcop" "$work/asa.ptcop" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(b'textNAME')
size = struct.unpack_from('<I', data, at + 8)[0]
name = '朝のステップ'.encode('cp932')
open(sys.argv[2], 'wb').write(data[:at + 8] + struct.pack('<I', len(name)) + name +
                              data[at + 12 + size:])
PY
cat > "$work/Dezidu.ini" <<INI
[Setting]
SelectSkin=pxtone
VisiblePledit=0
[Playlist]
File1=$work/morning-steps.ptcop
File2=$work/echo-hall.ptcop
File3=$work/backyard-groove.ptcop
File4=$work/asa.ptcop
NumberOfEntries=4
INI
raw=$work/out.raw
unset QT_QPA_PLATFORM
cd "$work"
start_captured
sleep 0.5

geometry() { xdotool getwindowgeometry --shell "$win" | tr '\n' ' '; }
# Window-relative clicks and drags (logical pixels at 1x).
at() { origin; xdotool mousemove $((wx + $1)) $((wy + $2)); sleep 0.1; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.35; }
drag() {
    at "$1" "$2"; xdotool mousedown 1; sleep 0.25
    xdotool mousemove $((wx + $3)) $((wy + $4)); sleep 0.35
    xdotool mouseup 1; sleep 0.35
}


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

# The Japanese name shows as Japanese text in the song title.
click 115 95; click 115 95; click 115 95; expect_sound "next to the Japanese tune"
shot "$work/title.png" 111 24 154 13
[ -n "$shots" ] && cp "$work/title.png" "$shots/title-japanese.png"
ink=$(convert "$work/title.png" -fuzz 10% -fill black -opaque "$(convert "$work/title.png" -format '%[pixel:p{153,0}]' info:)" \
      -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:)
echo "title ink: $ink pixels"
[ "$ink" -gt 60 ] || fail "the Japanese title shows no text"
click 25 95; click 25 95; click 25 95

# A seek drag moves the time digits and the sound: released at x 200 of the bar, the
# first tune (45 s) plays on from 45 * 170 / 219 seconds, one sample early; the capture
# holds what ptrender renders from there (within a sample: ptrender's start and the
# library's may count the first frame differently).
shot "$work/time-before.png" 36 26 63 13
drag 30 76 200 76
shot "$work/time-after.png" 36 26 63 13
same "$work/time-before.png" "$work/time-after.png" && fail "the seek drag did not move the time"
expect_sound "after the seek"
sample=$(python3 -c '
import struct
f = lambda v: struct.unpack("f", struct.pack("f", v))[0]
target = f(45.0 * f(170 / 219))
print(int(f(target * 44100)) - 1)')
heard_from "$work/morning-steps.ptcop" "$sample"
echo "seek target sample $sample, heard from $heard"
[ "$heard" != none ] || fail "the sound after the seek is not the tune from sample $sample"
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
at 50 7; xdotool click --repeat 2 --delay 80 1; sleep 0.5
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
xdotool mousemove $((wx + 28)) $((wy + 100)); xdotool click 1; sleep 0.4
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
