#!/usr/bin/env bash
# SIGKILL while the real program saves: Dezidu.ini holds a playlist of 5000
# entries with stored titles and lengths (so no tune loads at start); every S and R
# press rewrites the whole file. Each round starts the program, presses S and R in
# quick succession and kills it at a random moment; afterwards Dezidu.ini must
# exist and be whole: the Setting section with Shuffle and Repeat of 0 or 1, and the
# Playlist section with all 5000 entries, each File, Title and Length as written,
# and NumberOfEntries=5000 last. (A writer that rewrites the file in place in
# 4 KiB pieces fails this in the first round.)
#
# Usage: kill_while_saving.sh <dezidu> <demo-folder> [seconds] [entries]   (under xvfb-run)
set -u
exe=$1
demo=$2
budget=${3:-40}
entries=${4:-5000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM
cd "$work"
cp "$demo/echo-hall.ptcop" "$work/tune.ptcop" || fail "cannot copy the demo tune"
{
    echo "[Playlist]"
    for i in $(seq 1 "$entries"); do
        echo "File$i=$work/tune.ptcop"
        echo "Title$i=Tune number $i"
        echo "Length$i=$((i % 600 + 1))"
    done
    echo "NumberOfEntries=$entries"
} > Dezidu.ini

# Checks that Dezidu.ini is whole; prints what was seen.
check_file() {
    python3 - "$work/Dezidu.ini" "$entries" "$work/tune.ptcop" <<'EOF'
import sys
path, n, tune = sys.argv[1], int(sys.argv[2]), sys.argv[3]
try:
    text = open(path, 'rb').read().decode('utf-8')
except OSError as e:
    print(f"missing: {e}"); sys.exit(1)
sections, order, cur = {}, [], None
for line in text.splitlines():
    if line.startswith('['):
        cur = line.strip('[]').lower(); sections[cur] = {}; order.append(cur); continue
    if cur is None or '=' not in line:
        continue
    k, v = line.split('=', 1)
    sections[cur].setdefault(k.lower(), v)
    sections[cur]['__last__'] = k
pl = sections.get('playlist')
if pl is None:
    print("no Playlist section"); sys.exit(1)
if pl.get('numberofentries') != str(n) or pl['__last__'] != 'NumberOfEntries':
    print(f"NumberOfEntries={pl.get('numberofentries')} last key {pl['__last__']}"); sys.exit(1)
for i in range(1, n + 1):
    if (pl.get(f'file{i}') != tune or pl.get(f'title{i}') != f'Tune number {i}'
            or pl.get(f'length{i}') != str(i % 600 + 1)):
        print(f"entry {i} differs"); sys.exit(1)
st = sections.get('setting', {})
for k in ('shuffle', 'repeat'):
    if k in st and st[k] not in ('0', '1'):
        print(f"Setting {k}={st[k]}"); sys.exit(1)
print(f"whole: {n} entries, Shuffle={st.get('shuffle', '-')} Repeat={st.get('repeat', '-')}, "
      f"{len(text)} bytes")
EOF
}

check_file >/dev/null || fail "the prepared file does not parse"
end=$((SECONDS + budget))
rounds=0
saved=0
while [ "$SECONDS" -lt "$end" ]; do
    rounds=$((rounds + 1))
    SDL_AUDIODRIVER=dummy "$exe" 2>"$work/stderr.txt" &
    pid=$!
    win=""
    for _ in $(seq 1 100); do
        win=$(xdotool search --onlyvisible --pid "$pid" --name '^Dezidu$' 2>/dev/null | head -1)
        [ -n "$win" ] && break
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            fail "round $rounds: the program ended at start (exit $?): $(tail -c 2000 "$work/stderr.txt")"
        fi
        sleep 0.05
    done
    [ -n "$win" ] || fail "round $rounds: no visible window"
    xdotool windowfocus --sync "$win" 2>/dev/null
    before=$(stat -c %Y.%i Dezidu.ini)
    # A run of 24 presses (a save each) goes on while the kill comes at 0-299 ms.
    xdotool key --clearmodifiers --delay 8 s r s r s r s r s r s r s r s r s r s r s r s r \
        2>/dev/null &
    keys=$!
    sleep "0.$(printf '%03d' $((RANDOM % 300)))"
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    pid=""
    wait "$keys" 2>/dev/null
    [ "$(stat -c %Y.%i Dezidu.ini 2>/dev/null)" != "$before" ] && saved=$((saved + 1))
    out=$(check_file) || fail "round $rounds: Dezidu.ini is not whole ($out)"
done
leftover=$(find "$work" -maxdepth 1 -name '.Dezidu.ini.*.tmp' | wc -l)
echo "$rounds rounds, the file was replaced in $saved of them; last: $out;" \
     "$leftover temporary files left by killed writes"
[ "$rounds" -ge 5 ] || fail "only $rounds rounds ran"
[ "$saved" -ge 1 ] || fail "no round saved before the kill, so nothing was tested"
echo PASS
