#!/usr/bin/env bash
# The player under Qt's scale factor 2: the window is exactly twice the size and each of
# the frame's pixels is a crisp 2 x 2 block of the same colour (no smoothing), checked
# against the player's own pixels at scale 1.
#
# Usage: hidpi.sh <dezidu> <demo-folder> [screenshot-folder]   (under xvfb-run, -br)
set -u
exe=$(realpath "$1")
demo=$(realpath "$2")
shots=${3:-}
work=$(mktemp -d)
trap '[ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

mkdir -p "$work/skins"
cp -r "$demo/skins/pxtone" "$work/skins/"
printf '[Setting]\nSelectSkin=pxtone\nVisiblePledit=0\n' > "$work/Dezidu.ini"
cd "$work"
xdotool mousemove 0 0

# The window at scale $1 into $2: its size must be $3 x $4.
capture() {
    QT_SCALE_FACTOR=$1 QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$exe" 2>/dev/null &
    pid=$!
    wait_for_window
    sleep 1.5
    origin
    [ "$ww" = "$3" ] && [ "$wh" = "$4" ] || fail "scale $1: window ${ww}x$wh, not $3x$4"
    shot "$2" 0 0 "$3" "$4"
    kill "$pid"; wait "$pid" 2>/dev/null; pid=""
}
capture 1 "$work/one.png" 275 116
capture 2 "$work/two.png" 550 232
convert "$work/one.png" -sample 200% "$work/one-sampled.png"
[ -n "$shots" ] && cp "$work/one.png" "$work/two.png" "$shots/"
same "$work/two.png" "$work/one-sampled.png" ||
    fail "scale 2 is not the scale-1 frame in 2 x 2 blocks ($(compare -metric AE \
        "$work/two.png" "$work/one-sampled.png" null: 2>&1) pixels differ)"
echo "PASS"
