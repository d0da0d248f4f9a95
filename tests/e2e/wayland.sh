#!/usr/bin/env bash
# The real program as a native Wayland client of a headless weston: the default skin is
# drawn as under X11, and a skin whose REGION.TXT cuts a notch shows the desktop in the
# notch (an alpha-composed surface; the compositor's background shows through).
#
# The reference is the same player under the virtual X server this runs in. weston's
# screenshots (weston-screenshooter, enabled by --debug) are searched for the player.
#
# Usage: wayland.sh <dezidu> <demo-folder> [screenshot-folder]   (under xvfb-run)
set -u
exe=$(realpath "$1")
demo=$(realpath "$2")
shots=${3:-}
work=$(mktemp -d)
wpid=""
cleanup() {
    [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$wpid" ] && kill "$wpid" 2>/dev/null && wait "$wpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"

bg=3060a0  # weston's background (weston.ini below)
mkdir -p "$work/run/skins" "$work/shots"
cp -r "$demo/skins/pxtone" "$work/run/skins/"
# The notch: the polygon's outline runs through pixel centres, so x 151..199, y 61..115 of
# the player (49 x 55 pixels) lie outside the window's shape.
cp -r "$demo/skins/pxtone" "$work/run/skins/notch"
cat > "$work/run/skins/notch/REGION.TXT" <<'TXT'
[Normal]
NumPoints=8
PointList=0,0 275,0 275,116 200,116 200,60 150,60 150,116 0,116
TXT
settings() {
    printf '[Setting]\nSelectSkin=%s\nVisiblePledit=0\n' "$1" > "$work/run/Dezidu.ini"
}

# The X11 reference: the player's 275 x 116 pixels under the virtual X server.
reference() {
    settings "$1"
    (cd "$work/run" && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM SDL_AUDIODRIVER=dummy \
        "$exe" 2>"$work/x11.log") &
    pid=$!
    wait_for_window
    xdotool mousemove 0 0
    sleep 1.5
    shot "$work/ref-$1.png" 0 0 275 116
    kill "$pid"; wait "$pid" 2>/dev/null; pid=""
}
reference pxtone
reference notch

# A private weston: its own runtime folder (owner only), a plain background, no panel.
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
cat > "$work/weston.ini" <<INI
[core]
idle-time=0
[shell]
background-color=0xff$bg
panel-position=none
locking=false
INI
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug \
    --socket=dezidu-test --width=800 --height=600 >"$work/weston.log" 2>&1 &
wpid=$!
for _ in $(seq 1 100); do
    [ -S "$XDG_RUNTIME_DIR/dezidu-test" ] && break
    kill -0 "$wpid" 2>/dev/null || { cat "$work/weston.log"; fail "weston ended at start"; }
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/dezidu-test" ] || fail "no weston socket"
export WAYLAND_DISPLAY=dezidu-test

# Checks a weston screenshot $1 against the reference $2: the player is found by its
# outline on the plain background; its pixels must equal the reference's except exactly
# $3 pixels, each of which shows the background; ($4, $5) of the player must be one of them.
check_shot() {
    python3 - "$1" "$2" "$3" "$4" "$5" "$bg" <<'PY'
import subprocess, sys
def load(path):
    w, h = map(int, subprocess.run(['identify', '-format', '%w %h', path],
                                   capture_output=True, text=True).stdout.split())
    raw = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], capture_output=True).stdout
    return w, h, raw
sw, sh, shot = load(sys.argv[1])
rw, rh, ref = load(sys.argv[2])
want_cut, px, py = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
bg = bytes.fromhex(sys.argv[6])
def at(buf, w, x, y): return buf[3 * (y * w + x):3 * (y * w + x) + 3]
xs, ys = [], []
for y in range(sh):
    for x in range(sw):
        if at(shot, sw, x, y) != bg:
            xs.append(x); ys.append(y)
if not xs: sys.exit('nothing drawn on the background')
ox, oy = min(xs), min(ys)
if (max(xs) - ox + 1, max(ys) - oy + 1) != (rw, rh):
    sys.exit('drawn area %dx%d at %d,%d, not %dx%d' %
             (max(xs) - ox + 1, max(ys) - oy + 1, ox, oy, rw, rh))
cut, wrong = set(), 0
for y in range(rh):
    for x in range(rw):
        got = at(shot, sw, ox + x, oy + y)
        if got == at(ref, rw, x, y): continue
        if got == bg: cut.add((x, y))
        else: wrong += 1
if wrong: sys.exit('%d pixels differ from the X11 frame' % wrong)
if len(cut) != want_cut or (px, py) not in cut:
    sys.exit('%d pixels show the background, not %d with (%d, %d)' % (len(cut), want_cut, px, py))
print('player at %d,%d: %d pixels show the background' % (ox, oy, len(cut)))
PY
}

# Runs the player under weston ($2: the Qt platform, or "" for the program's own choice
# with no X server named) with skin $1 until a screenshot passes check_shot $3 $4 $5.
wayland_run() {
    settings "$1"
    (cd "$work/run" && exec env -u DISPLAY -u QT_QPA_PLATFORM ${2:+QT_QPA_PLATFORM=$2} SDL_AUDIODRIVER=dummy \
        "$exe" 2>"$work/wayland-$1.log") &
    pid=$!
    local ok="" why=""
    for _ in $(seq 1 40); do
        sleep 0.5
        kill -0 "$pid" 2>/dev/null || { cat "$work/wayland-$1.log"; fail "$1: the program ended"; }
        rm -f "$work/shots/"*.png
        (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1)
        local png
        png=$(ls "$work/shots/"*.png 2>/dev/null | head -1)
        [ -n "$png" ] || continue
        mv "$png" "$work/wayland-$1.png"
        if why=$(check_shot "$work/wayland-$1.png" "$work/ref-$1.png" "$3" "$4" "$5" 2>&1); then
            ok=1
            break
        fi
    done
    [ -n "$shots" ] && cp "$work/wayland-$1.png" "$work/ref-$1.png" "$shots/"
    [ -n "$ok" ] || { cat "$work/wayland-$1.log"; fail "$1 under weston: $why"; }
    echo "$1 under weston: $why"
    kill "$pid"; wait "$pid" 2>/dev/null; pid=""
}

# The default skin, with only WAYLAND_DISPLAY set: its rounded top corners (6 pixels) cut.
wayland_run pxtone "" 6 0 0
# The notch, native Wayland asked for by name.
wayland_run notch wayland $((49 * 55)) 175 100
echo "PASS"
