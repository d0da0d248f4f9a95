#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs a short session of each: the tune
# reader, the profile (INI) parser, the playlist section reader, and the skin BMP decoder,
# cursor decoder and archive reader.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60 per target)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEZIDU_FUZZ=ON -DDEZIDU_BENCH=OFF -DFUZZ_SECONDS="$seconds"
cmake --build "$root/build/fuzz" -j"$(nproc)" --target fuzz_pxtone_reader fuzz_pxtone_seeds \
    fuzz_profile_file fuzz_playlist_section fuzz_skin_seeds fuzz_skin_bmp fuzz_skin_cursor \
    fuzz_skin_archive
cd "$root/build/fuzz"
ctest -R '^fuzz_' --output-on-failure
