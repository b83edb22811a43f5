#!/usr/bin/env bash
# Under a real window manager (openbox): the frame sits at the desktop's top-left corner with the
# game's client area just below its title bar, keys reach the game (Exit on the title menu ends
# it), and closing it from the window manager ends it with status 0 and the fonts freed.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb

setpriv --pdeathsig TERM openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
until_true "openbox manages the screen" e2e_quiet wmctrl -m

# Frame extents the window manager put around a window: left right top bottom.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,
}
framed_at_corner() {
    local left right top bottom
    read -r left right top bottom < <(frame_extents "$E2E_WINDOW")
    window_geometry "$E2E_WINDOW"
    E2E_SEEN="client area at $GEOM_X,$GEOM_Y, frame extents ${left:-none} ${right:-} ${top:-} ${bottom:-}"
    [ -n "$top" ] && [ "$top" -gt "$left" ] && [ "$GEOM_X,$GEOM_Y" = "$left,$top" ]
}

# shellcheck disable=SC2119 # the game takes no arguments
start_game
wait_for_window
until_true "the frame at 0,0 and the client area below its title bar" framed_at_corner
pass "framed at the top-left corner: $E2E_SEEN"

# Down stops at the last item, Exit, so extra presses are harmless; a synthetic key can get lost
# on a loaded machine, so the whole sequence is pressed again, at most twice, if the game goes on.
for try in 1 2 3; do
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Down Down Down Return
    for ((i = 0; i < 100; i++)); do e2e_alive "$E2E_GAME_PID" && sleep "$E2E_POLL_INTERVAL"; done
    e2e_alive "$E2E_GAME_PID" || break
    echo "note: keys pressed again (try $((try + 1)))"
done
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after Exit on the title menu" 0 "$E2E_GAME_STATUS"
pass "keys reach the game: Exit ends it with status 0"

start_game
wait_for_window
wmctrl -c "$E2E_TITLE"
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after the window manager closed it" 0 "$E2E_GAME_STATUS"
expect_fonts_freed_at_end
pass "closed by the window manager: exit status 0, fonts freed"
