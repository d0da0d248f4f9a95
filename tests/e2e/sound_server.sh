#!/usr/bin/env bash
# The real program on a private PulseAudio server (SDL's pulseaudio driver) holding two null
# sinks, DezMain (the default) and DezOther; what they play is recorded from their monitors:
#   the tune given on the command line is heard on DezMain as ptrender renders it;
#   the server is killed (-9) while it plays: the player lives, shows the loss (Paused on
#   the bus, its position holding, the title area changed) and, once a new server runs, plays
#   on by itself within a few seconds from where it was;
#   Preferences lists DezOther: chosen there (typed into the output list), it is stored as
#   Device= and the tune plays on DezOther, not on DezMain; when DezOther goes away the
#   tune goes on on DezMain by itself, and Device= stays;
#   the server stops answering (SIGSTOP) while it plays: SIGTERM still ends the player.
#
# Usage: sound_server.sh <dezidu> <ptrender> <demo-folder>
#        (under dbus-run-session and xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
work=$(mktemp -d)
helpers=()
server=""
cleanup() {
    local rc=$?
    if [ "$rc" != 0 ]; then
        echo "--- the program's stderr:"; tail -20 "$work/dezidu.log" 2>/dev/null
        echo "--- the server's log:"; tail -20 "$work/pulse.log" 2>/dev/null
    fi
    for p in "${helpers[@]}" $server ${pid:-}; do
        kill -9 "$p" 2>/dev/null
        wait "$p" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/common.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus: run under dbus-run-session"

# A server of our own: its socket, state and cookie in $work; clients never start one.
export XDG_RUNTIME_DIR=$work/run PULSE_RUNTIME_PATH=$work/run/pulse PULSE_STATE_PATH=$work/state
export HOME=$work/home PULSE_CLIENTCONFIG=$work/client.conf
export PULSE_SERVER=unix:$work/run/pulse/native
mkdir -p "$XDG_RUNTIME_DIR" "$PULSE_STATE_PATH" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
echo "autospawn = no" > "$PULSE_CLIENTCONFIG"

# -n: no default script; the sinks' descriptions are the names SDL lists. As root the server
# warns and runs; --system=no keeps it a per-user server either way.
start_server() {
    pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --realtime=no \
        --high-priority=no --log-target=stderr \
        -L "module-native-protocol-unix auth-anonymous=1" \
        -L "module-null-sink sink_name=dz_main sink_properties=device.description=DezMain" \
        -L "module-null-sink sink_name=dz_other sink_properties=device.description=DezOther" \
        >> "$work/pulse.log" 2>&1 &
    server=$!
    for _ in $(seq 1 100); do
        pactl set-default-sink dz_main 2>/dev/null && return 0
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    tail -5 "$work/pulse.log"
    fail "the sound server did not start"
}
# Records the monitor of sink $1 into $2 (raw s16le stereo 44100 Hz, the program's format).
record() {
    parec --device="$1.monitor" --format=s16le --rate=44100 --channels=2 --raw > "$2" &
    helpers+=($!)
}

# Loud (non-zero) bytes recorded into $1 over the next $2 seconds.
loud_in() {
    local from to
    from=$(stat -c %s "$1")
    sleep "$2"
    to=$(stat -c %s "$1")
    tail -c +"$((from + 1))" "$1" | head -c "$((to - from))" |
        od -An -v -tx1 | tr -s ' ' '\n' | grep -v '^$' | grep -vc '^00$'
}
# The sample of the render $2 where 0.2 s of the recording $1, from its first loud frame
# on (plus $3 seconds), is found; "none" when it is not there.
heard_at() {
    python3 - "$1" "$2" "${3:-0}" <<'PY'
import sys
rec = open(sys.argv[1], 'rb').read()
render = open(sys.argv[2], 'rb').read()[44:]
first = next((i for i in range(0, len(rec) - 3, 4) if rec[i:i + 4] != b'\0\0\0\0'), None)
if first is None:
    print("none"); sys.exit()
at = first + int(float(sys.argv[3]) * 44100) * 4
probe = rec[at:at + 35280]
found = render.find(probe) if len(probe) == 35280 else -1
while found >= 0 and found % 4:
    found = render.find(probe, found + 1)
print(found // 4 if found >= 0 else "none")
PY
}

# Waits up to 20 s for heard_at to find the recording in the render; sets $heard.
wait_heard() {
    for _ in $(seq 1 100); do
        heard=$(heard_at "$@")
        [ "$heard" != none ] && return 0
        sleep 0.2
    done
    return 1
}

# The position in microseconds, as the bus reports it.
position() { pc metadata --format '{{position}}'; }

mkdir -p "$work/skins"
cp -r "$demo/skins/pxtone" "$work/skins/"
cp "$demo/morning-steps.ptcop" "$work/"
printf '[Setting]\nSelectSkin=pxtone\nVolume=100\n' > "$work/Dezidu.ini"
"$ptrender" "$work/morning-steps.ptcop" "$work/render.wav" >/dev/null || fail "ptrender"

start_server
record dz_main "$work/main1.raw"
unset QT_QPA_PLATFORM
cd "$work"
SDL_AUDIODRIVER=pulseaudio "$exe" "$work/morning-steps.ptcop" 2> "$work/dezidu.log" &
pid=$!
wait_for_window
until_is -t 20 Playing pc status || fail "not playing"
wait_heard "$work/main1.raw" "$work/render.wav" 0.5 || fail "DezMain did not play the tune as rendered"
echo "heard on DezMain from sample $heard of the render"
shot "$work/title-playing.png" 111 24 154 13

# The server goes while the tune plays.
kill -9 "$server"
wait "$server" 2>/dev/null
server=""
until_is -t 10 Paused pc status || fail "the loss is not shown on the bus"
held=$(position)
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "the player ended with its sound server"
[ "$(position)" = "$held" ] || fail "the position ran on over a lost output ($held, $(position))"
[ "$(pc status)" = Paused ] || fail "status $(pc status) without a server"
shot "$work/title-lost.png" 111 24 154 13
same "$work/title-playing.png" "$work/title-lost.png" && fail "the title area shows no loss"
echo "held at ${held} us"

# A new server: the tune goes on there by itself, from where it held.
# (20 s allows for a loaded machine and the sanitizer build; it takes about 1 s here.)
t0=$(date +%s%N)
start_server
record dz_main "$work/main2.raw"
until_is -t 20 Playing pc status || fail "the player did not come back to the new server"
echo "back $((($(date +%s%N) - t0) / 1000000)) ms after the server was started"
wait_heard "$work/main2.raw" "$work/render.wav" || fail "the new server did not hear the tune"
resumed=$heard
echo "resumed at sample $resumed"
held_sample=$((held * 441 / 10000))
[ "$resumed" -ge $((held_sample - 22050)) ] && [ "$resumed" -le $((held_sample + 66150)) ] ||
    fail "resumed at sample $resumed, held at $held_sample"

# Preferences (Ctrl+P stops the tune): DezOther is typed into the output list, OK.
win=$(xdotool search --onlyvisible --name '^Dezidu$' | head -1)
xdotool windowfocus --sync "$win" || fail "cannot focus the window"
press ctrl+p
wait_for_dialog Preferences
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The output list at (82, 115) dialog units: 6/4 and 13/8 pixels per unit.
xdotool mousemove --sync $((X + 82 * 6 / 4 + 30)) $((Y + 115 * 13 / 8 + 8)) click 1
sleep 0.5
import -window root "$work/list-open.png" 2>/dev/null
xdotool type --delay 50 DezOther
press Return
sleep 0.3
xdotool search --onlyvisible --name '^Preferences$' >/dev/null 2>&1 && press Return
until_is -t 10 DezOther ini Device || fail "Device= is $(ini Device)"
record dz_other "$work/other.raw"
record dz_main "$work/main3.raw"
sleep 0.5
xdotool windowfocus --sync "$win"
press x
until_is -t 20 Playing pc status || fail "not playing after Preferences"
wait_heard "$work/other.raw" "$work/render.wav" 0.5 || fail "DezOther did not play the tune"
echo "heard on DezOther from sample $heard"
n=$(loud_in "$work/main3.raw" 0.5)
[ "$n" = 0 ] || fail "DezMain still plays ($n loud bytes)"

# DezOther goes away (its sink unloaded) while it plays: the tune goes on on the default
# output by itself, and the choice stays in Dezidu.ini for when DezOther is back.
pactl unload-module "$(pactl list short modules | awk '/sink_name=dz_other/ { print $1 }')" ||
    fail "cannot unload DezOther"
n=$(loud_in "$work/main3.raw" 0.5)
for _ in $(seq 1 40); do
    [ "$n" -gt 1000 ] && break
    n=$(loud_in "$work/main3.raw" 0.5)
done
[ "$n" -gt 1000 ] || fail "the default output did not take over from DezOther"
[ "$(pc status)" = Playing ] || fail "status $(pc status) on the default output"
[ "$(ini Device)" = DezOther ] || fail "the stored output changed to '$(ini Device)'"

# The server stops answering (SIGSTOP) while the tune plays: a close request still ends the
# player (its device's close, held by the server, is left behind), with status 0.
kill -STOP "$server"
sleep 0.5
kill -TERM "$pid"
for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the player did not end while its sound server hangs"
wait "$pid"
rc=$?
pid=""
kill -CONT "$server"
[ "$rc" = 0 ] || fail "exit code $rc"
grep -q "sound output did not close" "$work/dezidu.log" || fail "nothing said of the device left"
echo "PASS"
