#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless, with a short fuzz
# session of the tune reader (libFuzzer, clang, sanitizers) first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/fuzz.sh" 30
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build/test" -j"$(nproc)"
cd "$root/build/test"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ctest --output-on-failure -j"$(nproc)" --timeout 600
