#!/usr/bin/env bash
# The pop-up menus of the real program under a virtual X server: a right click on the
# player opens the main menu; Options > Double Size doubles the window and stores
# Double=1; with "japanese.ico" in the working folder the menus are in Japanese; with two
# skins in the skins folder, Skins > (the other one) changes the picture and SelectSkin;
# a click on the main-menu button opens the main menu once the double-click time has
# passed, and two clicks 80 ms apart close the player instead; SIGTERM while Preferences
# is open ends the player.
# The screenshots stay in <shots-folder> (default: a temporary folder, removed).
#
# Usage: menus.sh <dezidu> <demo-folder> [shots-folder]   (run under xvfb-run)
set -u
exe=$(realpath "$1")
demo=$(realpath "$2")
work=$(mktemp -d)
shots=${3:-$work}
mkdir -p "$shots"
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/common.sh"

unset QT_QPA_PLATFORM
cd "$work"

start() {
    SDL_AUDIODRIVER=dummy "$exe" 2>/dev/null &
    pid=$!
    wait_for_window
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$win")"; }
stop() {
    kill -TERM "$pid"
    wait "$pid"; local rc=$?
    [ "$rc" = 0 ] || fail "exit code $rc"
}
# Right click at (100, 50) of the window; the main menu opens below and right of it.
open_main_menu() {
    geometry
    menu_x=$((X + 100)); menu_y=$((Y + 50))
    xdotool mousemove "$menu_x" "$menu_y"; sleep 0.3
    xdotool click 3; sleep 0.7
}
# Mean brightness (0-1) of a part of the screen: the window is near-black without a
# skin and so is the root window, a menu is light.
brightness() {  # file w h x y
    convert "$1" -crop "$2x$3+$4+$5" -colorspace Gray -format "%[fx:mean]" info:
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.1; done; }

start
geometry
[ "$WIDTH" = 275 ] && [ "$HEIGHT" = 116 ] || fail "window is ${WIDTH}x$HEIGHT at start"
open_main_menu
import -window root "$shots/main_menu.png"
b=$(brightness "$shots/main_menu.png" 120 100 "$((menu_x + 10))" "$((menu_y + 10))")
echo "main menu brightness $b"
awk "BEGIN{exit !($b > 0.5)}" || fail "no menu at the right click"

# Main menu: Dezidu..., Play, View File info, Playlist Editor, Options (fifth); Options:
# Preferences, Skins, Time elapsed, Time remaining, Always On Top, Double Size (sixth).
keys Down Down Down Down Down Right Down Down Down Down Down
import -window root "$shots/options_menu.png"
keys Return
sleep 1
geometry
echo "after Double Size: ${WIDTH}x$HEIGHT"
[ "$WIDTH" = 550 ] && [ "$HEIGHT" = 232 ] || fail "Double Size gave ${WIDTH}x$HEIGHT"
grep -q '^Double=1' Dezidu.ini || fail "Double=1 not stored"
stop

touch japanese.ico
start
open_main_menu
keys Down Down Down Down Down Right
import -window root "$shots/japanese_menu.png"
b=$(brightness "$shots/japanese_menu.png" 120 100 "$((menu_x + 10))" "$((menu_y + 10))")
echo "Japanese menu brightness $b"
awk "BEGIN{exit !($b > 0.5)}" || fail "no menu at the right click"
keys Escape Escape
stop

# Two skins: ours and "Dusk", the same with every colour inverted. The Skins menu lists
# Reload Skins Folder (selected when the sub-menu opens), then Dusk and pxtone in name
# order.
rm -f japanese.ico Dezidu.ini
mkdir -p skins
cp -r "$demo/skins/pxtone" skins/pxtone
cp -r "$demo/skins/pxtone" skins/Dusk
convert skins/pxtone/MAIN.BMP -negate -type TrueColor BMP3:skins/Dusk/MAIN.BMP
printf '[Setting]\nSelectSkin=pxtone\n' > Dezidu.ini
start
sleep 0.5
geometry
import -window root -crop "275x116+$X+$Y" +repage "$shots/skin_pxtone.png"
open_main_menu
# Main menu: Dezidu..., Play, View File info, Playlist Editor, Options, Skins (sixth).
keys Down Down Down Down Down Down Right Down
import -window root "$shots/skins_menu.png"
keys Return
sleep 1
xdotool mousemove 0 0; sleep 0.5
import -window root -crop "275x116+$X+$Y" +repage "$shots/skin_dusk.png"
grep -q '^SelectSkin=Dusk' Dezidu.ini || fail "SelectSkin=Dusk not stored: $(grep SelectSkin Dezidu.ini)"
changed=$(compare -metric AE "$shots/skin_pxtone.png" "$shots/skin_dusk.png" null: 2>&1)
echo "pixels changed by the skin: $changed"
[ "${changed%.*}" -gt 5000 ] || fail "the picture did not change with the skin"
stop

# The main-menu button is at (6, 3), 9 x 9; its menu opens at the button's bottom-left
# corner. A menu opened at the first click of a double click would take the second.
start
geometry
xdotool mousemove "$((X + 10))" "$((Y + 7))"; sleep 0.3
xdotool click 1; sleep 1.5
import -window root "$shots/menu_button.png"
b=$(brightness "$shots/menu_button.png" 100 60 "$((X + 16))" "$((Y + 22))")
echo "main-menu button's menu brightness $b"
awk "BEGIN{exit !($b > 0.5)}" || fail "no menu below the main-menu button"
keys Escape
sleep 0.5
xdotool click --repeat 2 --delay 80 1
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "a double click on the main-menu button left the player open"
wait "$pid"; rc=$?
[ "$rc" = 0 ] || fail "exit code $rc after the double click"

# SIGTERM while a dialog holds the worker (Preferences, Ctrl+P): the dialog is dismissed
# and the player ends with status 0.
start
xdotool windowfocus "$win" 2>/dev/null; sleep 0.3
xdotool key ctrl+p
wait_for_dialog Preferences
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "SIGTERM with Preferences open left the player running"
wait "$pid"; rc=$?
[ "$rc" = 0 ] || fail "exit code $rc after SIGTERM with Preferences open"
echo PASS
