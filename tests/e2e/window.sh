#!/usr/bin/env bash
# The window and the console from start to end: on an 8-bit screen, without a video driver, without
# a window manager and, under openbox, on the desktop and with start-up faults.
#   window.sh STARSHARDS ASSET_DIR RENDER_TEXT
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
render_text=$(realpath "$3")
e2e_init "$1" "$2"
shot=$E2E_TMP/shot.png

# sdl12-compat finds no renderer for 8 bits per pixel, and says so; the classic library converts.
start_xvfb 8
start_game
if [ "${E2E_SDL:-}" = compat ]; then
    expect_exit 2 "on an 8-bit screen"
    [ "$(cat "$E2E_STDERR")" = "Unable to set up video: Couldn't find matching render driver" ] ||
        fail "stderr on an 8-bit screen" "the render driver's error, the call that failed" "$(cat "$E2E_STDERR")"
else
    wait_for_window && kill -TERM "$E2E_GAME_PID" && expect_exit 0 "on an 8-bit screen after SIGTERM"
fi
kill -TERM "$E2E_XVFB_PID"
start_xvfb

start_game SDL_VIDEODRIVER=nosuchdriver
expect_exit 1 "when SDL cannot start"
expected="Unable to init SDL: \(No available video device\|nosuchdriver not available\)"
grep -qx "$expected" "$E2E_STDERR" || fail "stderr when SDL cannot start" "$expected" "$(paste -sd '|' "$E2E_STDERR")"


# SDL is told to place the window away from the corner: only the game's own move brings it there.
start_game SDL_VIDEO_WINDOW_POS=100,100
wait_for_window
until_true "the 800x600 window at the top-left corner" placed_at 0 0
kill -TERM "$E2E_GAME_PID"
expect_exit 0 "after SIGTERM"
stdout_is 'Free font: %s point emulogic.ttf'

# The frame's corner at 0,0: the client area at its left and top extents, the title bar above.
framed_at_corner() {
    local left top
    read -r left _ top _ < <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    placed_at "${left:-}" "${top:-}" && [ "$top" -gt "$left" ]
}
# drawn FILE: the window's pixels, raw in FILE, hold more than one colour.
drawn() { import -window "$E2E_WINDOW" -depth 8 "rgb:$1" 2>/dev/null && [ "$(identify -size 800x600 -depth 8 -format %k "rgb:$1")" -gt 1 ]; }
changed() { drawn "$E2E_TMP/after" && ! cmp -s "$E2E_TMP/before" "$E2E_TMP/after"; }
# run_case NAME SETUP [start_game arguments]: the game played in a fresh copy changed by SETUP.
run_case() {
    local name=$1
    rm -rf "$E2E_WORK" && cp -R "$E2E_ASSETS" "$E2E_WORK"
    (cd "$E2E_WORK" && eval "$2")
    start_game "${@:3}"
    wait_for_window
    until_true "$name: the client area at the frame extents, below the title bar" framed_at_corner
    until_true "$name: the title screen is drawn in more than one colour" drawn "$E2E_TMP/before"
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Return Return Up Up Return space Escape Return
    # Still drawing; with no pictures only the title menu's new star field changes the screen.
    until_true "$name: the screen changes after the keys" changed
    wmctrl -c Starshards
    expect_exit 0 "$name: after closing"
    pass "$name: framed at the corner, drawn, keys taken, closed with status 0"
}

# A window mapped while openbox is still starting may never be mapped: its --startup is awaited.
start_openbox() {
    rm -f "$E2E_TMP/openbox-ready"
    setpriv --pdeathsig TERM openbox --sm-disable --startup "touch $E2E_TMP/openbox-ready" \
        >"$E2E_TMP/openbox.log" 2>&1 &
    until_true "openbox manages the screen" test -e "$E2E_TMP/openbox-ready"
}

# On a screen smaller than the window, the whole screen shows the whole picture, a fifth smaller:
# the texts of three of its corners where such a picture has them, drawn as it draws them.
kill -TERM "$E2E_XVFB_PID"
start_xvfb 24 640x480 && start_openbox
start_game
wait_for_window
step "new game on a small screen" Return "15 20 12 Lives:"
press F11
text_program=$render_text
# Widened to whole fifths first, so that each fifth smaller pixel samples the picture's own.
fifth_smaller_text() {
    "$text_program" "$@" && mogrify -background black -extent "$(identify -format '%[fx:ceil(w/5)*5]x%[fx:ceil(h/5)*5]' "$4")" -sample 80% "$4"
}
render_text=fifth_smaller_text E2E_WINDOW=root until_true "F11: the whole picture on a 640x480 screen" \
    screen_is "468 16 12 Score: 0000000000" "8 460 12 Bullets: 6" "560 460 12 Level 1"
rm "$E2E_TMP"/text-*.bmp # drawn a fifth smaller
press F11 && until_true "F11 again on a small screen: the 800x600 window at the corner" framed_at_corner
wmctrl -c Starshards
expect_exit 0 "after closing on a small screen"
kill -TERM "$E2E_XVFB_PID"
start_xvfb && start_openbox

# On the desktop: the menu entry's class, the game's icon, F11 and Alt+Return, a minimised play.
start_game
wait_for_window
[ "$(xprop -id "$E2E_WINDOW" WM_CLASS | sed 's/.*", "\(.*\)"$/\1/')" = "$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../dist/io.github.starshards.starshards.desktop")" ] ||
    fail "the window's class" "the menu entry's StartupWMClass" "$(xprop -id "$E2E_WINDOW" WM_CLASS)"
# _NET_WM_ICON: width, height, then each pixel as 0xAARRGGBB.
icon=$(convert "$E2E_WORK/icon.png" -depth 8 rgba:- | od -An -v -tu1 -w4 | awk '{ printf ", %.0f", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }')
E2E_SEEN=$(xprop -id "$E2E_WINDOW" -notype 32c _NET_WM_ICON)
[ "$E2E_SEEN" = "_NET_WM_ICON = 64, 64$icon" ] || fail "_NET_WM_ICON" "icon.png's 64x64 pixels" "${E2E_SEEN:0:60}"
step "new game" Return "585 20 12 Score: 0000000000"
xdotool windowminimize --sync "$E2E_WINDOW"
xdotool windowactivate --sync "$E2E_WINDOW"
until_true "paused after minimising" screen_is "187 100 72 paused"
# covers_screen: but for 1 % of its pixels, the screen is the paused frame, scaled or centred.
convert "$shot" -sample 1024x768 "$E2E_TMP/scaled.png"
convert "$shot" -background black -gravity center -extent 1024x768 "$E2E_TMP/centred.png"
covers_screen() {
    import -window root "$shot" 2>/dev/null && E2E_SEEN=$(compare -metric AE "$shot" "$E2E_TMP/scaled.png" null: 2>&1
        echo -n " pixels off the scaled frame, " && compare -metric AE "$shot" "$E2E_TMP/centred.png" null: 2>&1)
    awk '{ exit !($1 < 7864 || $7 < 7864) }' <<<"$E2E_SEEN"
}
back_at_corner() { framed_at_corner && screen_is "$@"; }
press F11 && until_true "F11: the paused frame covers the screen" covers_screen
press F11 && until_true "F11 again: the 800x600 window at the corner, still paused" back_at_corner "187 100 72 paused"
press alt+Return && until_true "Alt+Return: the paused frame covers the screen" covers_screen
press Return alt+Return
until_true "Return in the whole screen quits; Alt+Return: the window at the corner" back_at_corner "45 10 72 STARSHARDS"
wmctrl -c Starshards
expect_exit 0 "after closing"

# stderr_names REGEX: standard error names each file the game missed once, with the directory it
# looked in; the names, sorted, match REGEX.
stderr_names() {
    local names
    names=$(sed "s|^cannot find \([^ ]*\) in $E2E_WORK\$|\1|" "$E2E_STDERR" | sort | paste -sd ' ')
    [[ $names =~ $1 ]] && ! sort "$E2E_STDERR" | uniq -d | grep -q . || fail "stderr" "$1" "$(cat "$E2E_STDERR")"
}
run_case "no pictures" "rm ./*.png ./*.jpg"
stdout_is 'Free font: %s point emulogic.ttf'
stderr_names '^(asteroid[123](_medium|_small)?\.png )+bullet\.jpg icon\.png life\.jpg$'
run_case "no font" "rm emulogic.ttf"
stdout_is '%.0sFont loading failed.' # and no 'Free font' line
stderr_names '^emulogic\.ttf$'
run_case "table is a directory" "mkdir highscores.txt"
[ -d "$E2E_WORK/highscores.txt" ] || fail "highscores.txt after the game" "the directory kept" "replaced"

# A table its player cannot read: the game runs as user nobody (start_game's env runs setpriv).
[ "$(id -u)" -eq 0 ] || { echo "SKIP: table unreadable to its player: running as nobody needs root" && exit 0; }
chmod 755 "$E2E_TMP"
run_case "table unreadable to its player" \
    "printf 'abc::1' >highscores.txt && chmod 000 highscores.txt && chown 65534 ." \
    setpriv --reuid=65534 --regid=65534 --clear-groups
table=$(stat -c %a "$E2E_WORK/highscores.txt") && table+=" $(cat "$E2E_WORK/highscores.txt")"
[ "$table" = "0 abc::1" ] || fail "the unreadable table after the game" "0 abc::1" "$table"
