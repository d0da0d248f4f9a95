#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless, with a short fuzz
# session first (libFuzzer, clang, sanitizers: 10 s per target), the standard
# library's bounds checks on (_GLIBCXX_ASSERTIONS), then the Debian package of that build
# (scripts/package.sh), and then the whole suite again under AddressSanitizer + UBSan
# (scripts/sanitize.sh asan).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/fuzz.sh" 10
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDEZIDU_GLIBCXX_ASSERTIONS=ON
cmake --build "$root/build/test" -j"$(nproc)"
(cd "$root/build/test" &&
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ctest --output-on-failure -j"$(nproc)" --timeout 600)
# The Debian package of that build, checked; DEZIDU_PACKAGE_INSTALL=1 (as root) also
# installs it, runs it from the PATH and removes and purges it.
if [ "${DEZIDU_PACKAGE_INSTALL:-0}" = 1 ]; then
    bash "$root/scripts/package.sh" "$root/build/test" --install
else
    bash "$root/scripts/package.sh" "$root/build/test"
fi
bash "$root/scripts/sanitize.sh" asan
