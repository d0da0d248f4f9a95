#!/usr/bin/env bash
# How long the real program takes to answer a key. S (the Shuffle command, which saves the
# setting) is pressed again and again for a period; each press is timed until the value of
# Shuffle= in Dezidu.ini has flipped. Prints the time from the start to the window's map
# and to the first key answered, then every press's time, the median and the worst.
#
# Usage: bench/key_latency.sh <dezidu> [--seconds N] [--entries N] [--folder N] [--drip]
#   --seconds N  how long keys are pressed (default 10)
#   --entries N  the stored playlist holds N entries without title or length (links to
#                the demo tunes under distinct names), which the player reads at the start
#   --folder N   once the window is up, a second start hands over a folder of N such
#                links (as a drop of the folder would add them)
#   --drip       a demo tune plays; then a second start hands over the URL of a local
#                server that sends a byte every 0.5 s (for at most 3 minutes)
# Runs in a scratch folder with the default skin and the playlist editor shown, under its
# own virtual X server unless DISPLAY is set, with SDL's dummy audio driver.
set -euo pipefail
exe=$(realpath "$1")
shift
seconds=10
entries=0
folder=0
drip=0
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --entries) entries=$2; shift 2 ;;
        --folder) folder=$2; shift 2 ;;
        --drip) drip=1; shift ;;
        *) echo "key_latency.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
here=$(cd "$(dirname "$0")" && pwd)
demo="$here/../demo"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$exe" \
        --seconds "$seconds" --entries "$entries" --folder "$folder" \
        $([ "$drip" = 1 ] && echo --drip)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run/skins" "$work/run/tunes"
cp -r "$demo/skins/pxtone" "$work/run/skins/"
cp "$demo"/*.ptcop "$work/run/"
tunes=("$work"/run/*.ptcop)
{
    printf '[Setting]\nShuffle=0\nVisiblePledit=1\nSelectSkin=pxtone\n[Playlist]\n'
    for i in $(seq 1 "$entries"); do
        t=${tunes[$(((i - 1) % ${#tunes[@]}))]}
        ln "$t" "$work/run/tunes/t$i.ptcop"
        printf 'File%d=tunes/t%d.ptcop\n' "$i" "$i"
    done
    printf 'NumberOfEntries=%d\n' "$entries"
} >"$work/run/Dezidu.ini"
mkdir -p "$work/run/many"
for i in $(seq 1 "$folder"); do
    ln "${tunes[$(((i - 1) % ${#tunes[@]}))]}" "$work/run/many/m$i.ptcop"
done

cd "$work/run"
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM
python3 - "$exe" "$seconds" "$drip" "${tunes[0]}" "$folder" <<'PY'
import http.server, os, statistics, subprocess, sys, threading, time

exe, seconds, drip, tune = sys.argv[1], float(sys.argv[2]), sys.argv[3] == "1", sys.argv[4]
folder = int(sys.argv[5]) > 0

def shuffle():
    try:
        for line in open("Dezidu.ini", "rb").read().decode("latin-1").splitlines():
            if line.startswith("Shuffle="):
                return line.split("=", 1)[1].strip()
    except OSError:
        pass
    return None

class Drip(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Length", "100000")
        self.end_headers()
        end = time.monotonic() + 180
        try:
            while time.monotonic() < end:
                self.wfile.write(b"x")
                self.wfile.flush()
                time.sleep(0.5)
        except OSError:
            pass
    def log_message(self, *args):
        pass

start = time.monotonic()
player = subprocess.Popen([exe] + ([tune] if drip else []), stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
try:
    win = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Dezidu$"],
                         capture_output=True, text=True, timeout=120).stdout.split()[0]
    mapped = time.monotonic() - start
    subprocess.run(["xdotool", "windowfocus", "--sync", win], timeout=30)
    if drip:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Drip)
        server.daemon_threads = True
        threading.Thread(target=server.serve_forever, daemon=True).start()
        time.sleep(1.0)
        url = "http://127.0.0.1:%d/drip.ptcop" % server.server_address[1]
        subprocess.run([exe, url], timeout=30)
        time.sleep(1.0)
    if folder:
        subprocess.run([exe, os.path.abspath("many")], timeout=30)
        time.sleep(0.1)
    times, first = [], None
    period_end = time.monotonic() + seconds
    while time.monotonic() < period_end or not times:
        before = shuffle()
        pressed = time.monotonic()
        subprocess.run(["xdotool", "key", "--clearmodifiers", "s"], timeout=30)
        while shuffle() == before:
            if time.monotonic() - pressed > 300:
                sys.exit("no answer to a key within 300 s")
            time.sleep(0.002)
        answered = time.monotonic()
        if first is None:
            first = answered - start
        times.append(answered - pressed)
        time.sleep(0.2)
    print("window mapped after %.2f s; first key answered %.2f s after the start" % (mapped, first))
    print("presses: " + " ".join("%.3f" % t for t in times))
    print("%d presses: median %.3f s, worst %.3f s" %
          (len(times), statistics.median(times), max(times)))
finally:
    player.terminate()
    try:
        player.wait(10)
    except subprocess.TimeoutExpired:
        player.kill()
PY
