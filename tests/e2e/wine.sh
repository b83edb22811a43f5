#!/usr/bin/env bash
# The Windows game under Wine on Xvfb, unpacked from its zip or installed by its installer: placed at
# the corner without and with a window manager, played through its screens with keys, its files in
# CR LF, ended by Exit and by closing the window; the uninstaller removes only what it installed.
#   wine.sh zip|installer PACKAGE VERSION RENDER_TEXT.EXE WINEPREFIX   (WINEPREFIX is made afresh)
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"
[ $# -eq 5 ] && [ -f "$2" ] && [ -x "$4" ] || { echo "usage: $0 zip|installer PACKAGE VERSION RENDER_TEXT WINEPREFIX" >&2 && exit 2; }
mode=$1 package=$(realpath "$2") version=$3 render_text_exe=$(realpath "$4")
e2e_begin
render_text=render_windows_text shot=$E2E_TMP/shot.png E2E_STDOUT=$E2E_TMP/stdout E2E_STDERR=$E2E_TMP/stderr
E2E_EOL=$'\r' # the console's lines end in CR LF
E2E_GAME=$WINE E2E_GAME_ARGS=(starshards.exe)
use_wine_prefix "$5"
E2E_AT_EXIT="$WINESERVER -k"
# wine CMD...: a Windows program to its end, with every process it started.
wine() { "$WINE" "$@" >>"$E2E_TMP/wine.log" 2>&1 && "$WINESERVER" -w; }

# The texts drawn as the game draws them, by the same FreeType; Wine's Z: is the root.
render_windows_text() { "$E2E_GAME" "$render_text_exe" "${@/#\//Z:/}" 2>>"$E2E_TMP/wine.log"; }

start_xvfb
rm -rf "$WINEPREFIX" && { make_wine_prefix >>"$E2E_TMP/wine.log" 2>&1 && "$WINESERVER" -w; } ||
    fail "a new Wine prefix" "wineboot's status 0" "$?"
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public) # the one Wine made the prefix for
installed=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Starshards
start_menu=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs
windows_installed='C:\users\'$user'\AppData\Local\Programs\Starshards'
players_files="./holiday.jpg ./licenses/OtherGame/LICENSE.txt ./my-screenshot.png"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Starshards'
if [ "$mode" = zip ]; then
    mkdir "$E2E_TMP/work" && (cd "$E2E_TMP/work" && cmake -E tar xf "$package")
    E2E_WORK=$E2E_TMP/work/Starshards-$version
    [ "$(ls -A "$E2E_TMP/work")" = "Starshards-$version" ] || fail "the zip's top level" "Starshards-$version" "$(ls -A "$E2E_TMP/work")"
else
    # Installed into a folder that already holds the player's own files of the kinds it installs.
    mkdir -p "$installed/licenses/OtherGame" && (cd "$installed" && touch $players_files)
    started=$SECONDS
    wine "$package" /S || fail "the silent installer" "status 0" "$?"
    E2E_WORK=$installed
    pass "installed silently in $((SECONDS - started)) s"
    # The shortcut starts the game in its folder: the working directory is the string after the
    # program's relative path (strings shows the character of its length before it).
    strings -el "$start_menu/Starshards.lnk" | grep -qx ".${windows_installed//\\/\\\\}" ||
        fail "the Start-menu shortcut's working directory" "$windows_installed" "$(strings -el "$start_menu/Starshards.lnk" | paste -sd '|')"
    "$E2E_GAME" reg query "$uninstall_key" >"$E2E_TMP/uninstall-entry" 2>/dev/null
    # EstimatedSize: the KiB of the files installed beside the uninstaller.
    size=$(find "$installed" -type f ! -name uninstall.exe -printf '%s\n' | awk '{ b += $1 } END { printf "0x%x", (b + 1023) / 1024 }')
    expected=$(printf '    %s\n' "DisplayName    REG_SZ    Starshards" "DisplayVersion    REG_SZ    $version" \
        "Publisher    REG_SZ    Starshards developers" "UninstallString    REG_SZ    \"$windows_installed\\uninstall.exe\"" \
        "InstallLocation    REG_SZ    $windows_installed" "DisplayIcon    REG_SZ    $windows_installed\\starshards.exe,0" \
        "EstimatedSize    REG_DWORD    $size" "NoModify    REG_DWORD    0x1" "NoRepair    REG_DWORD    0x1" | sort)
    got=$(tr -d '\r' <"$E2E_TMP/uninstall-entry" | grep -v -e QuietUninstallString -e '^HKEY' -e '^$' | sort)
    [ "$got" = "$expected" ] || fail "the entry in the installed programs" "$expected" "$got"
fi
files=$(cd "$E2E_WORK" && find . -type f | grep -vxF "${players_files// /$'\n'}" | sort | paste -sd ' ')
expected=". /LICENSE.txt ./README.txt ./SDL.dll ./asteroid1.png ./asteroid1_medium.png ./asteroid1_small.png ./asteroid2.png ./asteroid2_medium.png ./asteroid2_small.png ./asteroid3.png ./asteroid3_medium.png ./asteroid3_small.png ./bullet.jpg ./emulogic-OFL.txt ./emulogic.ttf ./icon.png ./licenses/SDL/COPYING ./licenses/SDL_image/COPYING ./licenses/SDL_ttf/COPYING ./licenses/freetype/FTL.TXT ./licenses/freetype/LICENSE.TXT ./licenses/libjpeg-turbo/LICENSE.md ./licenses/libjpeg-turbo/README.ijg ./licenses/libpng/LICENSE ./licenses/mingw-w64/copyright.txt ./licenses/zlib/copyright ./life.jpg ./starshards.exe"
[ "$mode" = zip ] || expected+=" ./uninstall.exe"
[ "$files" = "${expected/. \//./}" ] || fail "the game's files" "$expected" "$files"

# Without a window manager Windows' frame is not drawn, but the client area stays where it puts it.
press() { xdotool windowfocus --sync "$E2E_WINDOW" key "$@"; }
printf '%s::%s\n' ann 90000 bob 80000 cid 70000 dan 60000 eve 50000 fay 40000 gus 30000 hal 20000 ivy 10000 jay 5000 >"$E2E_WORK/highscores.txt"
started=$SECONDS
start_game SDL_VIDEO_WINDOW_POS=100,100
wait_for_window
until_true "the 800x600 client area below Windows' title bar" placed_at 3 22
title=("45 10 72 STARSHARDS" "263 115 12 Created by orvane")
until_true "title menu" screen_is "${title[@]}" "216 200 46 New Game"
pass "title shown after $((SECONDS - started)) s"
step "new game" Return "585 20 12 Score: 0000000000" "700 575 12 Level 1" "10 575 12 Bullets: 6"
step "pause" Escape "187 100 72 paused"
step "title menu after quitting" Return "${title[@]}" "216 200 46 New Game"
step "Load Game highlighted" Down "193 300 46 Load Game"
step "High Scores highlighted" Down "149 400 46 High Scores"
step "the table of LF lines" Return "149 10 46 High Scores" "250 100 24 1. ann 90000"
step "title menu after the table" Return "${title[@]}" "149 400 46 High Scores"
step "Load Game highlighted" Up "193 300 46 Load Game"
printf 'level::3\nlives::0\nscore::95000\n' >"$E2E_WORK/save.txt"
step "loaded game" Return "700 575 12 Level 3" "585 20 12 Score: 0000095000"
started=$SECONDS
xdotool windowfocus --sync "$E2E_WINDOW" keydown Up
E2E_TIMEOUT=90 until_true "game over" screen_is "79 50 72 GAME OVER"
xdotool keyup Up
pass "flown into a rock in $((SECONDS - started)) s"
for name in a ab abc; do step "name $name" "${name: -1}" "296 350 72 $name"; done
step "title menu after the name" Return "${title[@]}" "193 300 46 Load Game"
step "High Scores highlighted" Down "149 400 46 High Scores"
step "Exit highlighted" Down "309 500 46 Exit"
press Return
expect_exit 0 "from Exit"
stdout_is 'Free font: %s point emulogic.ttf'
# Lines end in CR LF; the table's last entry ends the file, as on Linux.
expected=$(printf '%s::%s\r\n' abc 95000 ann 90000 bob 80000 cid 70000 dan 60000 eve 50000 fay 40000 gus 30000 hal 20000 ivy 10000) && expected=${expected%$'\r'}
[ "$(cat "$E2E_WORK/highscores.txt")" = "$expected" ] || fail "highscores.txt" "$(cat -A <<<"$expected")" "$(cat -A "$E2E_WORK/highscores.txt")"
pass "without a window manager: at the corner, every screen through keys, the LF table rewritten in CR LF, Exit with status 0"

# Under openbox, SDL told to place the window elsewhere: only the game's move brings it to the
# corner. Closing the window ends the game with status 0.
setpriv --pdeathsig TERM openbox --sm-disable --startup "touch $E2E_TMP/openbox-ready" >"$E2E_TMP/openbox.log" 2>&1 &
until_true "openbox manages the screen" test -e "$E2E_TMP/openbox-ready"
# Wine keeps the client area where Windows' frame puts it, so openbox's thinner frame starts at 2,2.
framed_where_windows_puts_it() {
    placed_at 3 22 && [ "$(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS)" = "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1" ]
}
start_game SDL_VIDEO_WINDOW_POS=100,100
wait_for_window
until_true "the client area where Windows puts it, in openbox's frame" framed_where_windows_puts_it
until_true "title menu" screen_is "${title[@]}" "216 200 46 New Game"
# SDL cannot switch a window on Windows: F11 sets the video mode again, full-screen, at the
# screen's corner (Wine cannot change Xvfb's mode; how large it makes the window varies), the
# title's rocks in their colours, at least half as many pixels of them as in the window (all else
# is black or white). F11 again: the window where Windows puts it, the game still answering.
full_screen_at_corner() { ! framed_where_windows_puts_it && [[ $E2E_SEEN == "0 0 "* ]]; }
rock_pixels() {
    import -window "$E2E_WINDOW" "png:$shot" 2>/dev/null &&
        convert "$shot" -format %c histogram:info:- | awk '!/#000000|#FFFFFF/ { n += $1 } END { print n + 0 }'
}
rocks_shown() { local shown && shown=$(rock_pixels) && E2E_SEEN="$shown rock pixels" && ((shown * 2 >= $1)); }
windowed=$(rock_pixels)
press F11
until_true "F11: the window at the screen's corner" full_screen_at_corner
until_true "F11: the rocks, $windowed pixels in the window" rocks_shown "$windowed"
press F11
until_true "F11 again: the window where Windows puts it" framed_where_windows_puts_it
press Down Down
step "the table" Return "149 10 46 High Scores" "250 100 24 1. abc 95000"
step "the title menu" Return "${title[@]}" "149 400 46 High Scores"
wmctrl -c Starshards
expect_exit 0 "after closing the window"
stdout_is 'Free font: %s point emulogic.ttf'
pass "under openbox: framed, at the corner as Wine puts it, keys taken, F11 there and back, closed with status 0"
[ "$mode" = installer ] || exit 0

# The uninstaller keeps the player's files, and so their folder; without them the folder goes too.
wine "$installed/uninstall.exe" /S || fail "the silent uninstaller" "status 0" "$?"
left=$(cd "$installed" && find . -type f | sort | paste -sd ' ')
"$E2E_GAME" reg query "$uninstall_key" >/dev/null 2>&1 && left+=", the entry"
[ ! -e "$start_menu/Starshards.lnk" ] || left+=", the shortcut"
expected=$(tr ' ' '\n' <<<"./highscores.txt $players_files ./save.txt" | sort | paste -sd ' ')
[ "$left" = "$expected" ] || fail "what the uninstaller left" "$expected" "$left"
# Installed through its pages: Install, then Finish with "Start Starshards" ticked starts the game
# in its folder, where it finds its font.
rm -r "${installed:?}"/* && ("$E2E_GAME" "$package" >>"$E2E_TMP/wine.log" 2>&1 &)
finish_setup() {
    local setup
    setup=$(xdotool search --onlyvisible --name "^Starshards $version Setup" | head -n 1)
    [ -z "$setup" ] || xdotool windowactivate --sync "$setup" key Return 2>/dev/null
    E2E_WINDOW=$(xdotool search --onlyvisible --name "^Starshards\$" | head -n 1) && [ -n "$E2E_WINDOW" ]
}
until_true "the game started from the installer's last page" finish_setup
until_true "its title menu" screen_is "${title[@]}" "216 200 46 New Game"
wmctrl -c Starshards && "$WINESERVER" -w && wine "$installed/uninstall.exe" /S
left=$(ls -A "$installed") && [ "$left" = highscores.txt ] || fail "left after the game made its table" highscores.txt "$left"
rm -r "${installed:?}" && wine "$package" /S && wine "$installed/uninstall.exe" /S
[ ! -e "$installed" ] || fail "the folder after uninstalling without the player's files" "removed" "$(ls -A "$installed")"
pass "uninstalled: the player's files kept, the rest removed"
