#!/usr/bin/env bash
# Builds a Release build and starts the player in build/demo-run, a working folder made
# from demo/ (so running never changes tracked files). Each run copies the demo tunes and
# skins that are missing there or older than the repository's; Dezidu.ini is copied only
# when the folder has none, so the player's own settings are never overwritten.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DDEZIDU_TESTS=OFF -DDEZIDU_BENCH=OFF
cmake --build "$root/build/release" --target dezidu
run="$root/build/demo-run"
mkdir -p "$run/skins"
if [ -d "$root/demo" ]; then
    (cd "$root/demo" && find . -type f ! -path ./Dezidu.ini -print0) |
        while IFS= read -r -d '' f; do
            mkdir -p "$run/$(dirname "$f")"
            cp -p -u "$root/demo/$f" "$run/$f"
        done
    if [ -f "$root/demo/Dezidu.ini" ] && [ ! -e "$run/Dezidu.ini" ]; then
        cp -p "$root/demo/Dezidu.ini" "$run/Dezidu.ini"
    fi
fi
cd "$run"
exec "$root/build/release/dezidu"
