#!/usr/bin/env bash
# The playlist editor of the real program under a virtual X server. Dezidu.ini shows the
# editor with a page of 4 rows and lists 30 entries ("Entry 01".."Entry 30", the three
# demo tunes in turn, stored titles so nothing loads at start); SDL's disk driver captures
# the sound. Each step acts with the mouse and checks what the program wrote to Dezidu.ini
# or played:
#   - the down arrow twice, the wheel three notches, a drag of the scroll bar's thumb far
#     below the bar: a click on the first visible row then Delete removes the entry that
#     the scroll put there;
#   - the resize handle dragged 3 rows down: ScrollPage=7 is saved and the window grows
#     by 42 pixels;
#   - REM's "remove selected" removes a Shift-selected range; MISC's first item shows the
#     sort menu, whose "by path" sorts the list, and closes its strip;
#   - a double click on the second row plays that row's tune (its rendered PCM is in the
#     capture);
#   - SEL's "invert" turns one selected row into all the others (Delete then leaves only
#     it); LIST's "new list" empties the list (saved by the next Ctrl+R).
# With DEZIDU_E2E_SHOTS naming a folder, screenshots at 1x and 2x are written there.
#
# Usage: pledit.sh <dezidu> <ptrender> <demo-folder>   (run under xvfb-run)
set -u
exe=$1
ptrender=$2
demo=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM
cd "$work"
mkdir skins && cp -r "$demo/skins/pxtone" skins/ || fail "cannot copy the skin"
tunes=(morning-steps echo-hall backyard-groove)
for t in "${tunes[@]}"; do
    cp "$demo/$t.ptcop" "$work/" || fail "cannot copy $t"
    "$ptrender" --seconds 2 "$work/$t.ptcop" "$work/$t.wav" >/dev/null || fail "ptrender $t"
done
{
    echo "[Setting]"
    echo "VisiblePledit=1"
    echo "EasyMove=0"
    echo "SelectSkin=pxtone"
    echo "[Position]"
    echo "WindowLeft=100"
    echo "WindowTop=80"
    echo "ScrollPage=4"
    echo "[Playlist]"
    for i in $(seq 1 30); do
        echo "File$i=$work/${tunes[$(((i - 1) % 3))]}.ptcop"
        printf 'Title%d=Entry %02d\n' "$i" "$i"
        echo "Length$i=5"
    done
    echo "NumberOfEntries=30"
} > Dezidu.ini

raw=$work/out.raw
start_captured
xdotool windowfocus --sync "$win" || fail "cannot focus the window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
wx=$X
wy=$Y

shot() {
    [ -n "${DEZIDU_E2E_SHOTS:-}" ] || return 0
    mkdir -p "$DEZIDU_E2E_SHOTS"
    import -window root -crop "$((2 * 275 + 20))x$((2 * 290 + 20))+$((wx - 10))+$((wy - 10))" \
        "$DEZIDU_E2E_SHOTS/$1.png"
}
tick() { sleep 0.35; }  # a frame tick (100 ms) and some
at() { xdotool mousemove "$((wx + $1))" "$((wy + $2))"; }
click() { at "$1" "$2"; xdotool click 1; tick; }
press() { xdotool key --clearmodifiers "$1"; tick; }

# Editor geometry, window pixels: the editor starts below the 116-pixel player; its
# height is 60 + 14 x page; rows from y 137, x 12..255.
page=4
editor_h() { echo $((60 + 14 * page)); }
bar_y() { echo $((116 + $(editor_h) - 38)); }  # the bottom bar's top
row_y() { echo $((116 + 21 + 14 * $1 + 7)); }  # centre of visible row $1
button_x=(23 52 81 110 240)                    # ADD REM SEL MISC LIST
strip_h=(54 72 54 54 54)
# Centre of item $2 of strip $1: strips end 12 pixels above the editor's bottom.
item() {
    local bottom=$((116 + $(editor_h) - 12))
    echo "$((button_x[$1] + 3)) $((bottom - strip_h[$1] + 18 * $2 + 9))"
}
open_strip() { click "${button_x[$1]}" "$(($(bar_y) + 17))"; }

# The titles of the Playlist section of Dezidu.ini, in order, one a line.
titles() {
    awk '/^\[/ { on = (tolower($0) == "[playlist]"); next } on && /^Title[0-9]+=/' Dezidu.ini |
        sed 's/^Title[0-9]*=//'
}
files() {
    awk '/^\[/ { on = (tolower($0) == "[playlist]"); next } on && /^File[0-9]+=/' Dezidu.ini |
        sed 's/^File[0-9]*=//'
}
count() { awk -F= '/^NumberOfEntries=/ { print $2 }' Dezidu.ini; }
# Waits up to 3 s for NumberOfEntries=$1.
expect_count() {
    for _ in $(seq 1 30); do
        [ "$(count)" = "$1" ] && return
        sleep 0.1
    done
    fail "$2: NumberOfEntries=$(count), not $1"
}
# Clicks the first visible row, presses Delete and checks that exactly title $1 went.
delete_first_visible() {
    local before n
    before=$(titles)
    n=$(echo "$before" | wc -l)
    click 60 "$(row_y 0)"
    press Delete
    expect_count $((n - 1)) "$2"
    [ "$(titles)" = "$(echo "$before" | grep -vx "$1")" ] ||
        fail "$2: Delete did not remove exactly '$1'"
    echo "$2: removed '$1'"
}

shot editor-1x
if [ -n "${DEZIDU_E2E_SHOTS:-}" ]; then
    press d  # double size, for the picture only
    sleep 0.3
    shot editor-2x
    press d
    sleep 0.3
fi

# Down arrow twice: rows from index 2.
click 264 "$(($(bar_y) + 9))"
click 264 "$(($(bar_y) + 9))"
delete_first_visible "Entry 03" "down arrow x2"

# Home, then the wheel three notches down: rows from index 3.
press Home
at 100 "$(row_y 1)"
xdotool click 5 click 5 click 5
tick
delete_first_visible "$(titles | sed -n 4p)" "wheel x3"

# Home, then the thumb dragged far below the bar: rows from the last page.
press Home
n=$(count)
at 264 $((116 + 20 + 9))
xdotool mousedown 1
tick
at 264 $((116 + $(editor_h) + 100))
tick
xdotool mouseup 1
tick
delete_first_visible "$(titles | sed -n "$((n - page + 1))p")" "thumb dragged to the bottom"

# The resize handle dragged 3 rows down.
eval "$(xdotool getwindowgeometry --shell "$win")"
h0=$HEIGHT
at 266 $(($(bar_y) + 30))
xdotool mousedown 1
tick
at 266 $(($(bar_y) + 30 + 3 * 14))
tick
tick
xdotool mouseup 1
tick
page=7
grep -qx "ScrollPage=7" Dezidu.ini || fail "ScrollPage=7 was not saved"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$HEIGHT" = $((h0 + 42)) ] || fail "the window is $HEIGHT high, not $((h0 + 42))"
echo "resize: ScrollPage=7, window $h0 -> $HEIGHT"

# REM: rows 1-3 (Shift range), then "remove selected".
press Home
first3=$(titles | sed -n 1,3p)
n=$(count)
click 60 "$(row_y 0)"
xdotool keydown shift
tick
click 60 "$(row_y 2)"
xdotool keyup shift
tick
open_strip 1
shot rem-strip-1x
# shellcheck disable=SC2046
click $(item 1 3)
expect_count $((n - 3)) "REM remove selected"
titles | grep -qxF "$first3" && fail "REM left one of the selected rows"
echo "REM: removed the first three rows"

# MISC: the first item shows the sort menu at its corner; its third item sorts by path
# (the entries were never loaded, so by title would keep their order), and the strip
# closes: the row under it takes clicks again.
files | sort -c 2>/dev/null && fail "the paths are in order before the sort"
open_strip 3
# shellcheck disable=SC2046
click $(item 3 0)
sleep 0.5
xdotool key Down Down Down Return
sleep 0.5
files | sort -c || fail "MISC's sort by path left the paths out of order"
echo "MISC: sorted by path"
delete_first_visible "$(titles | sed -n 1p)" "after MISC"

# Double click on the second visible row (after Home) plays that entry's tune.
press Home
want=$(files | sed -n 2p | sed 's#.*/##; s#\.ptcop$##')
at 60 "$(row_y 1)"
xdotool click --repeat 2 --delay 80 1
sleep 1.5
got=$(python3 - "$raw" "$work" "${tunes[@]}" <<'PY'
import sys
raw = open(sys.argv[1], 'rb').read()
found = []
for t in sys.argv[3:]:
    pcm = open(f"{sys.argv[2]}/{t}.wav", 'rb').read()[44:]
    probe = pcm[44100:44100 + 65536]
    if len(probe) == 65536 and any(probe) and raw.find(probe) >= 0:
        found.append(t)
print(" ".join(found) if found else "none")
PY
)
echo "double click on row 2 ($want) plays: $got"
[ "$got" = "$want" ] || fail "the double click played '$got', not '$want'"
press v  # stop

# SEL: one row selected, inverted: Delete leaves only that row.
# (The double click loaded every entry: titles are now the tunes' own, so files are compared.)
press Home
keep=$(files | sed -n 2p)
click 60 "$(row_y 1)"
open_strip 2
# shellcheck disable=SC2046
click $(item 2 0)
press Delete
expect_count 1 "SEL invert, then Delete"
[ "$(files)" = "$keep" ] || fail "SEL invert: '$(files)' is left, not '$keep'"
echo "SEL: invert kept '$keep' only"

# LIST: "new list" empties the list; Ctrl+R (reverse) saves it.
open_strip 4
# shellcheck disable=SC2046
click $(item 4 0)
press ctrl+r
expect_count 0 "LIST new list, then Ctrl+R"
echo "LIST: new list"

kill -TERM "$pid"
wait "$pid"; rc=$?
pid=""
[ "$rc" = 0 ] || fail "exit code $rc"
echo PASS
