#!/usr/bin/env bash
# The installed program started as the desktop starts it, in a temporary HOME:
#   `cmake --install` into a temporary prefix; the Exec line of the installed desktop entry,
#   run from a writable folder, makes ~/.local/share/dezidu with a copy of the installed
#   default skin and keeps its settings there (S writes Shuffle=1 into that Dezidu.ini);
#   a second start from / (no option) runs in the same data folder, so it hands its tune to
#   the running player and exits 0; SIGTERM ends the first with exit code 0; nothing is
#   written in the folder it was started from.
#
# Usage: desktop_start.sh <cmake> <build-folder>   (run under xvfb-run)
set -u
cmake=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/common.sh"

prefix=$tmp/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
entry=$prefix/share/applications/dezidu.desktop
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -n "$exec_line" ] || fail "no Exec line in $entry"
# The field codes stand for the files the desktop passes: none here.
read -r -a cmd <<< "${exec_line//%F/}"
[ "${cmd[0]}" = dezidu ] || fail "Exec does not start dezidu: $exec_line"
cmd[0]=$prefix/bin/dezidu

unset QT_QPA_PLATFORM XDG_DATA_HOME
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run SDL_AUDIODRIVER=dummy
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$tmp/cwd"
chmod 700 "$XDG_RUNTIME_DIR"
data=$HOME/.local/share/dezidu

cd "$tmp/cwd"
"${cmd[@]}" 2>/dev/null &
pid=$!
wait_for_window
diff -r "$prefix/share/dezidu/skins/pxtone" "$data/skins/pxtone" >/dev/null ||
    fail "the default skin was not copied into $data/skins"
xdotool windowfocus --sync "$win" || fail "cannot focus the window"
sleep 0.5
xdotool key --clearmodifiers s
for _ in $(seq 1 50); do
    grep -q '^Shuffle=1' "$data/Dezidu.ini" 2>/dev/null && break
    sleep 0.1
done
grep -q '^Shuffle=1' "$data/Dezidu.ini" 2>/dev/null || fail "no Shuffle=1 in $data/Dezidu.ini"

(cd / && timeout 10 "$prefix/bin/dezidu" "$tmp/x.ptcop" 2>/dev/null)
rc=$?
[ "$rc" = 0 ] || fail "the start from / did not hand over (exit code $rc)"
kill -0 "$pid" 2>/dev/null || fail "the first player ended"

kill -TERM "$pid"
wait "$pid"
rc=$?
pid=""
[ "$rc" = 0 ] || fail "exit code $rc after SIGTERM"
files=$(ls -A "$tmp/cwd")
[ -z "$files" ] || fail "files written in the start folder: $files"
echo PASS
