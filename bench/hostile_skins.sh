#!/usr/bin/env bash
# Hostile skins, measured: the peak memory of skincheck and of the player with a skin of
# 40 bitmaps and 20 cursors that each claim 4096 x 4096 in a few bytes, and how long the
# player's window is deaf with a REGION.TXT whose polygon lies at +-2^31 (the time from a
# press of S until Dezidu.ini's Shuffle= changes).
#
#   bench/hostile_skins.sh DEZIDU SKINCHECK [DEMO_FOLDER]
#
# Needs xvfb-run, xdotool and /usr/bin/time. Prints one line per figure.
set -euo pipefail
dezidu=$(realpath "$1")
skincheck=$(realpath "$2")
demo=$(realpath "${3:-$(dirname "$0")/../demo}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/skins"

python3 - "$work/skins/bomb.wsz" <<'PY'
import struct, sys, zipfile
def info(w, h, bpp, comp=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, comp, 0, 2835, 2835, 0, 0)
bmp_info = info(4096, 4096, 8, 1)                     # RLE8
bmp = b'BM' + struct.pack('<IHHI', 0, 0, 0, 14 + len(bmp_info)) + bmp_info + b'\0\1'
cur_dib = info(4096, 8192, 24)
cur = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', 0, 0, 0, 0, 0, 0, len(cur_dib), 22) + cur_dib
used_bitmaps = 'MAIN CBUTTONS PLAYPAUS MONOSTER POSBAR SHUFREP VOLUME TITLEBAR NUMS_EX NUMBERS TEXT PLEDIT'.split()
used_cursors = ('NORMAL CLOSE MIN MMENU MAINMENU WINBUT WSNORMAL WSPOSBAR TITLEBAR VOLBAL SONGNAME '
                'PNORMAL PCLOSE PWINBUT PWSNORM PSIZE PTBAR PVSCROLL').split()
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    for i in range(40):
        z.writestr((used_bitmaps[i] if i < len(used_bitmaps) else 'b%02d' % i) + '.bmp', bmp)
    for i in range(20):
        z.writestr((used_cursors[i] if i < len(used_cursors) else 'c%02d' % i) + '.cur', cur)
PY
cp -r "$demo/skins/pxtone" "$work/skins/region"
printf '[Normal]\r\nNumPoints=4\r\nPointList=-2147483648,-2147483648 2147483647,-2147483648 2147483647,2147483647 -2147483648,2147483647\r\n' \
    >"$work/skins/region/REGION.TXT"
echo "bomb skin: $(stat -c %s "$work/skins/bomb.wsz") bytes"

rss() { /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true; cat "$work/rss" | tail -1; }
echo "skincheck bomb.wsz: peak RSS $(rss "$skincheck" "$work/skins/bomb.wsz") KiB"

# The player in $work with the skin $1; prints its peak RSS after it ran $2 seconds.
player_rss() {
    printf '[Setting]\nSelectSkin=%s\n' "$1" >"$work/Dezidu.ini"
    (cd "$work" && SDL_AUDIODRIVER=dummy xvfb-run -a /usr/bin/time -f %M -o "$work/rss" \
        timeout -s TERM "$2" "$dezidu" >/dev/null 2>&1 || true)
    tail -1 "$work/rss"
}
echo "player with bomb.wsz: peak RSS $(player_rss bomb 8) KiB"

# Deafness: S toggles shuffle, which is saved at once.
cat >"$work/deaf.sh" <<'SH'
set -u
cd "$1"
printf '[Setting]\nSelectSkin=region\n' >Dezidu.ini
SDL_AUDIODRIVER=dummy "$2" >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 1 300); do
    win=$(xdotool search --onlyvisible --name '^Dezidu$' 2>/dev/null | head -1)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "no window"; kill -9 $pid; exit 1; }
xdotool windowfocus --sync "$win"
sleep 1
for round in 1 2 3; do
    before=$(grep -a '^Shuffle=' Dezidu.ini | tr -d '\r')
    start=$(date +%s.%N)
    xdotool key --clearmodifiers s
    for _ in $(seq 1 6000); do
        now=$(grep -a '^Shuffle=' Dezidu.ini | tr -d '\r')
        [ "$now" != "$before" ] && break
        sleep 0.005
    done
    end=$(date +%s.%N)
    [ "$now" != "$before" ] && echo "region +-2^31: S answered after $(echo "$end - $start" | bc) s" ||
        echo "region +-2^31: no answer within 30 s"
done
kill $pid; wait $pid 2>/dev/null
SH
xvfb-run -a bash "$work/deaf.sh" "$work" "$dezidu"
