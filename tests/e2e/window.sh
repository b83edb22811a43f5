#!/usr/bin/env bash
# The window and the console from start to end. With no usable video driver the game says why,
# exits with status 1 and opens no window. Without a window manager its window is moved to the
# desktop's top-left corner, and SIGTERM (a logout, `kill`) ends it cleanly: status 0, the fonts
# freed. Under openbox the frame sits at the corner, keys reach the game (Exit ends it), and
# closing it from the window manager ends it cleanly.
#   window.sh STARSHARDS ASSET_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb
start_window_watch

start_game SDL_VIDEODRIVER=nosuchdriver
expect_exit 1 "when SDL cannot start"
# The library's own words: classic SDL 1.2 says "No available video device", sdl12-compat
# "nosuchdriver not available".
expected="Unable to init SDL: \(No available video device\|nosuchdriver not available\)"
grep -qx "$expected" "$E2E_STDERR" || fail "stderr when SDL cannot start" "$expected" "$(paste -sd '|' "$E2E_STDERR")"
sync_window_watch
windows=$(grep -E '^(Create|Map)Notify' "$E2E_WATCH_LOG" || true)
[ -z "$windows" ] || fail "windows opened when SDL cannot start" none "$windows"
pass "no video driver: exit status 1, the reason on stderr, no window"

# clean_stdout: the six fonts loaded, then the same six freed, and nothing else.
clean_stdout() {
    { font_lines "Loading font" && font_lines "Free font"; } | cmp -s - "$E2E_STDOUT" ||
        fail "stdout" "six 'Loading font' then six 'Free font' lines" "$(paste -sd '|' "$E2E_STDOUT")"
}

# SDL is told to place the window away from the corner: only the game's own move brings it there.
start_game SDL_VIDEO_WINDOW_POS=100,100
wait_for_window
at_corner() {
    window_geometry "$E2E_WINDOW"
    E2E_SEEN="${GEOM_W}x$GEOM_H at $GEOM_X,$GEOM_Y"
    [ "$E2E_SEEN" = "800x600 at 0,0" ]
}
until_true "the 800x600 window at the top-left corner" at_corner
kill -TERM "$E2E_GAME_PID"
expect_exit 0 "after SIGTERM"
clean_stdout
pass "no window manager: 800x600 at 0,0; SIGTERM ends it with status 0, the fonts freed"

start_window_manager
start_game
wait_for_window
framed_at_corner() {
    local left right top bottom
    read -r left right top bottom < <(xprop -id "$E2E_WINDOW" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    window_geometry "$E2E_WINDOW"
    E2E_SEEN="client area at $GEOM_X,$GEOM_Y, frame extents ${left:-none} ${right:-} ${top:-} ${bottom:-}"
    [ -n "$top" ] && [ "$top" -gt "$left" ] && [ "$GEOM_X,$GEOM_Y" = "$left,$top" ]
}
until_true "the frame at 0,0 and the client area below its title bar" framed_at_corner
# Down stops at the last item, Exit, so extra presses are harmless; a synthetic key can get lost
# on a loaded machine, so the keys are pressed again, at most twice, while the game goes on.
for try in 1 2 3; do
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Down Down Down Return
    for ((i = 0; i < 100; i++)); do e2e_alive "$E2E_GAME_PID" && sleep "$E2E_POLL"; done
    e2e_alive "$E2E_GAME_PID" || break
    echo "note: keys pressed again (try $((try + 1)))"
done
expect_exit 0 "after Exit on the title menu"

start_game
wait_for_window
wmctrl -c Starshards
expect_exit 0 "after the window manager closed it"
clean_stdout
pass "openbox: framed at the corner, Exit ends the game with status 0, closing it too, the fonts freed"
