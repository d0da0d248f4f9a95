# Shared by the end-to-end scripts (sourced). The caller keeps the program's
# process id in $pid.

fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }

# Waits up to 10 s for the visible window titled "Dezidu" and sets $win.
wait_for_window() {
    win=""
    for _ in $(seq 1 100); do
        win=$(xdotool search --onlyvisible --name '^Dezidu$' 2>/dev/null | head -1)
        [ -n "$win" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
        sleep 0.1
    done
    [ -n "$win" ] || fail "no visible window titled Dezidu"
}

# Starts $exe with arguments $@, its sound captured by SDL's disk driver into $raw; sets
# $pid and waits for the window ($win).
start_captured() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw "$exe" "$@" 2>/dev/null &
    pid=$!
    wait_for_window
}

# Waits until the output of the command after WANT is WANT: up to 10 s, or SECONDS.
# Usage: until_is [-t SECONDS] WANT COMMAND...
until_is() {
    local seconds=10 got=""
    if [ "$1" = -t ]; then seconds=$2; shift 2; fi
    local want=$1
    shift
    for _ in $(seq 1 $((seconds * 10))); do
        got=$("$@")
        [ "$got" = "$want" ] && return 0
        sleep 0.1
    done
    echo "  (got '$got', wanted '$want')"
    return 1
}

# Waits up to 5 s for a visible window titled $1 (a dialog) and sets $dialog.
wait_for_dialog() {
    dialog=""
    for _ in $(seq 1 50); do
        dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$dialog" ] && return 0
        sleep 0.1
    done
    fail "no window titled $1"
}

# ---- the player on the session bus ----
pc() { playerctl -p dezidu "$@" 2>/dev/null; }

# ---- the window ($win) ----
# Its position and size: $wx $wy $ww $wh.
origin() { eval "$(xdotool getwindowgeometry --shell "$win")"; wx=$X; wy=$Y; ww=$WIDTH; wh=$HEIGHT; }
# A $4 x $5 crop of the window at ($2, $3) into the file $1.
shot() {
    origin
    import -window root -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage "$1" 2>/dev/null
}
# True when two images have the same pixels.
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
press() { xdotool key --clearmodifiers "$1"; }

# ---- the settings file ($work/Dezidu.ini) ----
ini() { grep -a "^$1=" "$work/Dezidu.ini" | head -1 | cut -d= -f2 | tr -d '\r'; }

# ---- the sound: SDL's disk driver writing to $raw ----
size() { stat -c %s "$raw" 2>/dev/null || echo 0; }
# Non-zero bytes the device writes in the next $2 seconds, after $1 seconds to let the
# buffers in flight drain.
loud() {
    sleep "$1"
    local from to
    from=$(size)
    sleep "$2"
    to=$(size)
    [ "$to" -gt "$from" ] || { echo 0; return; }
    tail -c +"$((from + 1))" "$raw" | head -c "$((to - from))" |
        od -An -v -tx1 | tr -s ' ' '\n' | grep -v '^$' | grep -vc '^00$'
}
expect_sound() { local n; n=$(loud 0.2 0.5); echo "$1: $n loud bytes"; [ "$n" -gt 1000 ] || fail "$1: no sound"; }
expect_silence() { local n; n=$(loud 0.4 0.5); echo "$1: $n loud bytes"; [ "$n" = 0 ] || fail "$1: not silent"; }
# True when the disk capture $1 holds $4 bytes of the WAV file $2 from byte $3 of its data,
# not all zero.
capture_holds() {
    python3 - "$1" "$2" "$3" "$4" <<'PY'
import sys
raw = open(sys.argv[1], 'rb').read()
at, n = 44 + int(sys.argv[3]), int(sys.argv[4])
probe = open(sys.argv[2], 'rb').read()[at:at + n]
sys.exit(0 if len(probe) == n and any(probe) and raw.find(probe) >= 0 else 1)
PY
}
# Sets $heard to the start sample, of $2 - 1 .. $2 + 1, whose render of the tune $1 by
# $ptrender (from 0.1 s on) the capture $raw holds; "none" when it holds none of them.
heard_from() {
    local s
    heard=none
    for s in $(($2 - 1)) "$2" $(($2 + 1)); do
        "$ptrender" --start-sample "$s" --seconds 1 "$1" "$work/seek.wav" >/dev/null ||
            fail "ptrender"
        if capture_holds "$raw" "$work/seek.wav" 17640 32768; then heard=$s; fi
    done
}
