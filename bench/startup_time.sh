#!/usr/bin/env bash
# Start-up time of the real program: from exec to the X server's map event of its
# window (bench/map_wait.c), median of RUNS starts, for each audio path: SDL's own
# choice of driver (on a machine without a sound card: none opens and the player
# falls back to its null output) and SDL's dummy driver.
#
# Usage: bench/startup_time.sh <dezidu> [RUNS]
# Each start runs in a scratch folder holding the default skin (selected) and a
# Dezidu.ini whose playlist has 100 entries (the demo tunes over and over, with title
# and length stored as the player saves them), with the playlist editor shown. Starts its own virtual X server unless DISPLAY is set.
set -euo pipefail
exe=$(realpath "$1")
runs=${2:-11}
here=$(cd "$(dirname "$0")" && pwd)
demo="$here/../demo"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$exe" "$runs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/map_wait" "$here/map_wait.c" -lxcb
mkdir -p "$work/run/skins"
cp -r "$demo/skins/pxtone" "$work/run/skins/"
cp "$demo"/*.ptcop "$work/run/"
tunes=("$work"/run/*.ptcop)
{
    printf '[Setting]\nVisiblePledit=1\nSelectSkin=pxtone\n[Playlist]\n'
    for i in $(seq 1 100); do
        t=${tunes[$(((i - 1) % ${#tunes[@]}))]}
        printf 'File%d=%s\nTitle%d=Tune %d\nLength%d=%d\n' "$i" "${t##*/}" "$i" "$i" "$i" \
            $((60 + i))
    done
    printf 'NumberOfEntries=100\n'
} >"$work/ini"

measure() {
    echo "== $1"
    cp "$work/ini" "$work/run/Dezidu.ini"
    (cd "$work/run" && unset QT_QPA_PLATFORM && "$work/map_wait" "$runs" "$exe")
}
(unset SDL_AUDIODRIVER && measure "audio: SDL's choice of driver")
(export SDL_AUDIODRIVER=dummy && measure "audio: SDL's dummy driver")
