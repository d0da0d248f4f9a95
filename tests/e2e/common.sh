# Shared by the end-to-end scripts (sourced). The caller keeps the program's
# process id in $pid.

fail() { echo "FAIL: $*"; [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; exit 1; }

# Waits up to 10 s for the visible window titled "Dezidu" and sets $win.
wait_for_window() {
    win=""
    for _ in $(seq 1 100); do
        win=$(xdotool search --onlyvisible --name '^Dezidu$' 2>/dev/null | head -1)
        [ -n "$win" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start"
        sleep 0.1
    done
    [ -n "$win" ] || fail "no visible window titled Dezidu"
}
