#!/usr/bin/env bash
# The window and the console from start to end: with no usable video driver, status 1 and the
# reason. Without a window manager the window is moved to the desktop's top-left corner and
# SIGTERM ends the game cleanly. Under openbox the frame sits at the corner and keys reach the
# game; with all its files, no font, no pictures or a high-score table it cannot read, the game
# draws, takes keys through its screens and ends with status 0 when its window is closed.
#   window.sh STARSHARDS ASSET_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb

start_game SDL_VIDEODRIVER=nosuchdriver
expect_exit 1 "when SDL cannot start"
# The library's own words: classic SDL 1.2 says "No available video device", sdl12-compat
# "nosuchdriver not available".
expected="Unable to init SDL: \(No available video device\|nosuchdriver not available\)"
grep -qx "$expected" "$E2E_STDERR" || fail "stderr when SDL cannot start" "$expected" "$(paste -sd '|' "$E2E_STDERR")"

# stdout_is LINES...: the console output, exactly.
stdout_is() {
    printf '%s\n' "$@" | cmp -s - "$E2E_STDOUT" || fail "stdout" "$(printf '%s|' "$@")" "$(paste -sd '|' "$E2E_STDOUT")"
}
# The game's six fonts, as its console names them when it loads and when it frees them.
loaded=() freed=()
for size in 72 50 46 36 24 12; do
    loaded+=("Loading font: $size point emulogic.ttf") freed+=("Free font: $size point emulogic.ttf")
done
# placed_at X Y: the 800x600 client area of the game's window is at X,Y on the screen.
placed_at() {
    E2E_SEEN=$(xwininfo -id "$E2E_WINDOW" | awk -F: '/Absolute upper-left X/ { x = $2 + 0 }
        /Absolute upper-left Y/ { y = $2 + 0 } /^ *Width/ { w = $2 + 0 } /^ *Height/ { h = $2 + 0 }
        END { print w "x" h " at " x "," y }')
    [ "$E2E_SEEN" = "800x600 at $1,$2" ]
}

# SDL is told to place the window away from the corner: only the game's own move brings it there.
start_game SDL_VIDEO_WINDOW_POS=100,100
wait_for_window
until_true "the 800x600 window at the top-left corner" placed_at 0 0
kill -TERM "$E2E_GAME_PID"
expect_exit 0 "after SIGTERM"
stdout_is "${loaded[@]}" "${freed[@]}"
pass "no video driver: status 1; no window manager: at 0,0, SIGTERM ends it with status 0"

start_window_manager
start_game
wait_for_window
# The frame's corner at 0,0: the client area at its left and top extents, the title bar above.
framed_at_corner() {
    local left top
    read -r left _ top _ < <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    placed_at "${left:-}" "${top:-}" && [ "$top" -gt "$left" ]
}
until_true "the client area at the frame extents, below the title bar" framed_at_corner
# Down stops at the last item, Exit, so extra presses are harmless; a synthetic key can get lost
# on a loaded machine, so the keys are pressed again, at most twice, while the game goes on.
for _ in 1 2 3; do
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Down Down Down Return
    for ((i = 0; i < 100; i++)); do e2e_alive "$E2E_GAME_PID" && sleep "$E2E_POLL"; done
    e2e_alive "$E2E_GAME_PID" || break
done
expect_exit 0 "after Exit on the title menu"
pass "openbox: framed at the corner, Exit ends the game with status 0"

# shot FILE: the window's pixels, raw; prints how many colours they hold.
shot() { import -window "$E2E_WINDOW" -depth 8 "rgb:$1" 2>/dev/null && identify -size 800x600 -depth 8 -format '%k' "rgb:$1"; }
drawn() { [ "$(shot "$E2E_TMP/before")" -gt 1 ] 2>/dev/null; }
changed() { shot "$E2E_TMP/after" >/dev/null && ! cmp -s "$E2E_TMP/before" "$E2E_TMP/after"; }
# run_case NAME SETUP [start_game arguments]: the game played in a fresh copy changed by SETUP,
# then closed by the window manager.
run_case() {
    local name=$1 setup=$2
    shift 2
    rm -rf "$E2E_WORK" && cp -R "$E2E_ASSETS" "$E2E_WORK"
    (cd "$E2E_WORK" && eval "$setup")
    start_game "$@"
    wait_for_window
    until_true "$name: the title screen is drawn in more than one colour" drawn
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Return Return Up Up Return space Escape Return
    # Still drawing; with no pictures only the title menu's new star field changes the screen.
    until_true "$name: the screen changes after the keys" changed
    wmctrl -c Starshards
    expect_exit 0 "$name: after closing"
    pass "$name: drawn, keys taken, closed with status 0"
}

run_case "all files" ""
stdout_is "${loaded[@]}" "${freed[@]}"
run_case "no font" "rm emulogic.ttf"
stdout_is "${loaded[@]}" "${freed[@]/#*/Font loading failed.}" # no 'Free font' line
run_case "no pictures" "rm ./*.png ./*.jpg"
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
