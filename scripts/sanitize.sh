#!/usr/bin/env bash
# The test suite under the sanitizers (slow; not part of scripts/test.sh).
#  1. AddressSanitizer + UBSan (build-asan): every test, leaks checked. Leaks
#     inside system libraries are suppressed by tests/lsan.supp.
#  2. ThreadSanitizer (build-tsan): the tests that run more than one thread (the
#     application, the widget world, the Qt platform, the player and its loader, the
#     audio library and devices,
#     the URL fetch and the real program). Reports are filtered by tests/tsan.supp.
# Usage: scripts/sanitize.sh [asan|tsan]   (default: both)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# The idle-CPU bound of the window test measures speed; instrumented builds are slower.
export DEZIDU_IDLE_CPU_LIMIT=15
status=0

if [ "$what" = all ] || [ "$what" = asan ]; then
    # -O1 -g1: about a quarter less compile time than -O2 -g; reports keep file and line.
    cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
        -DDEZIDU_SANITIZE=ON -DDEZIDU_TSAN=OFF -DDEZIDU_BENCH=OFF
    cmake --build "$root/build-asan" -j"$jobs"
    (cd "$root/build-asan" &&
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
        LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest -j"$jobs" --output-on-failure --timeout 900) || status=1
fi

if [ "$what" = all ] || [ "$what" = tsan ]; then
    cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDEZIDU_TSAN=ON -DDEZIDU_SANITIZE=OFF -DDEZIDU_BENCH=OFF
    cmake --build "$root/build-tsan" -j"$jobs" --target test_app test_edx test_platform_qt \
        test_player test_audio test_io dezidu ptrender e2e_make_tune
    export TSAN_OPTIONS="suppressions=$root/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
    cd "$root/build-tsan"
    for t in tests/app/test_app tests/edx/test_edx tests/player/test_player \
        tests/audio/test_audio; do
        echo "== $t"
        "./$t" --gtest_brief=1 || status=1
    done
    echo "== tests/platform_qt/test_platform_qt (offscreen)"
    ./tests/platform_qt/test_platform_qt --gtest_brief=1 --gtest_filter='-*Xcb*' || status=1
    echo "== test_io (URL fetch)"
    ./tests/io/test_io --gtest_brief=1 --gtest_filter='CurlHttpClientTest.*:UrlTuneTest.*' || status=1
    echo "== the window under Xvfb and the real program (e2e)"
    # dezidu_desktop_start installs the whole build, of which only the targets above exist here.
    ctest -R '^(platform_qt_xcb|dezidu_.*)$' -E '^dezidu_desktop_start$' --output-on-failure \
        --timeout 900 || status=1
fi
exit $status
