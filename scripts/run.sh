#!/usr/bin/env bash
# Builds a Release build and starts the player in build/demo-run, a working folder
# made once from demo/ (so running never changes tracked files).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DDEZIDU_TESTS=OFF -DDEZIDU_BENCH=OFF
cmake --build "$root/build/release" --target dezidu
run="$root/build/demo-run"
if [ ! -d "$run" ]; then
    mkdir -p "$run"
    [ -d "$root/demo" ] && cp -r "$root/demo/." "$run/"
fi
mkdir -p "$run/skins"
if [ -d "$root/skins" ]; then
    for s in "$root"/skins/*; do
        [ -e "$run/skins/$(basename "$s")" ] || cp -r "$s" "$run/skins/"
    done
fi
cd "$run"
exec "$root/build/release/dezidu"
