#!/usr/bin/env bash
# Without a display to open, the player says why in one line on stderr (the Qt platform
# it tried and the display it was given) and exits with status 1, leaving its settings
# file as it was.
#
# Usage: no_display.sh <dezidu>
set -u
exe=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -m 700 "$work/xdg"
printf '[Setting]\nShuffle=1\n' > "$work/Dezidu.ini"
cp "$work/Dezidu.ini" "$work/before.ini"
cd "$work"

# $1: what stderr must hold; the rest: the environment of the start.
expect_no_display() {
    local want=$1 rc
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/xdg" \
        SDL_AUDIODRIVER=dummy "$@" "$exe" >"$work/out" 2>"$work/err" </dev/null
    rc=$?
    echo "status $rc: $(cat "$work/err")"
    [ "$rc" = 1 ] || fail "status $rc, not 1"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "not one line on stderr"
    grep -qF -- "$want" "$work/err" || fail "stderr does not name $want"
    cmp -s "$work/Dezidu.ini" "$work/before.ini" || fail "the settings file changed"
}
# No X server at the named display: X11 was tried there, then Wayland's default.
expect_no_display "xcb with DISPLAY=:87" DISPLAY=:87
# Native Wayland asked for, no compositor at the named socket.
expect_no_display "wayland with WAYLAND_DISPLAY=dezidu-none" QT_QPA_PLATFORM=wayland \
    WAYLAND_DISPLAY=dezidu-none
# Nothing named at all.
expect_no_display "DISPLAY unset" env
echo "PASS"
