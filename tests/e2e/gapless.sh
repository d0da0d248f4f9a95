#!/usr/bin/env bash
# Loops, fade-out and the hand-over in the real program under a virtual X server, with
# SDL's disk driver: with PlayLoops=2 and FadeSeconds=2 in Dezidu.ini, X plays a looping
# tune exactly as `ptrender --loops 2 --fade 2` renders it, and the next entry's first
# second follows it in the capture sample for sample.
#
# Usage: gapless.sh <dezidu> <ptrender> <make_tune>   (run under xvfb-run)
set -u
exe=$1
ptrender=$2
make_tune=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

# a: 4 measures of 1 s, the loop part the last two (6 s with two passes); b: 3.6 s.
"$make_tune" "$work/a.ptcop" 4 240 2 || fail "make_tune a"
"$make_tune" "$work/b.ptcop" 3 200 0 || fail "make_tune b"
"$ptrender" --loops 2 --fade 2 "$work/a.ptcop" "$work/a.wav" >/dev/null || fail "ptrender a"
"$ptrender" --seconds 1 "$work/b.ptcop" "$work/b.wav" >/dev/null || fail "ptrender b"
cat > "$work/Dezidu.ini" <<INI
[Setting]
PlayLoops=2
FadeSeconds=2
[Playlist]
File1=$work/a.ptcop
File2=$work/b.ptcop
NumberOfEntries=2
INI

raw=$work/out.raw
unset QT_QPA_PLATFORM
cd "$work"
start_captured
xdotool windowfocus --sync "$win" || fail "cannot focus the window"
sleep 0.5
from=$(size)
press x
# The disk driver writes in real time: a's 6 s and b's first second after the press, with
# a second to spare (a minute at most on a loaded machine).
for _ in $(seq 1 600); do
    [ "$(size)" -gt $((from + (6 + 1 + 1) * 44100 * 4)) ] && break
    sleep 0.1
done
kill -TERM "$pid"
wait "$pid"
pid=""

python3 - "$raw" "$work/a.wav" "$work/b.wav" <<'PY' || fail "the capture is not a then b"
import sys
raw = open(sys.argv[1], 'rb').read()
a = open(sys.argv[2], 'rb').read()[44:]
b = open(sys.argv[3], 'rb').read()[44:]
assert len(a) == (6 * 44100 - 1) * 4, len(a)
# The fade ends in silence: the probe is the loud start of a, then all of a must follow.
at = raw.find(a[:4 * 44100])
if at < 0:
    sys.exit("a's first second is not in the capture")
if raw[at:at + len(a)] != a:
    n = next(i for i in range(len(a)) if raw[at + i] != a[i])
    sys.exit(f"a differs from its render at frame {n // 4}")
print(f"a found at frame {at // 4}, {len(a) // 4} frames")
after = raw[at + len(a):at + len(a) + len(b)]
if after != b:
    n = next((i for i in range(min(len(after), len(b))) if after[i] != b[i]), min(len(after), len(b)))
    sys.exit(f"b's first second does not follow a: differs at frame {n // 4} of {len(after) // 4}")
print("b's first second follows a's last frame")
PY
echo "PASS"
