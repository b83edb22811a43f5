#!/usr/bin/env bash
# A normal session: the game loads its fonts, opens its window at the top-left
# of the desktop, and shuts down cleanly when the window manager closes it, and
# again when it is sent SIGTERM.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb

# Have SDL place the window away from the corner first, so only the game's
# own move can bring it to 0,0.
start_game SDL_VIDEO_WINDOW_POS=100,100

wait_for_window
window=$E2E_WINDOW
pass "one viewable window titled '$E2E_TITLE'"

# The move happens just after the window is mapped: poll for it.
at_corner() {
    window_geometry "$window"
    E2E_SEEN="at $GEOM_X,$GEOM_Y"
    [ "$GEOM_X,$GEOM_Y" = 0,0 ]
}
until_true "window position on the screen is 0,0" at_corner
pass "window is at the top-left corner"
[ "${GEOM_W}x${GEOM_H}" = 800x600 ] || fail "window size" 800x600 "${GEOM_W}x${GEOM_H}"
pass "window is 800x600"

close_window "$window"
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after WM_DELETE_WINDOW" 0 "$E2E_GAME_STATUS"
pass "exit status 0 after WM_DELETE_WINDOW"

expected_loading=$(font_lines "Loading font")
got_loading=$(grep '^Loading font' "$E2E_STDOUT" || true)
[ "$got_loading" = "$expected_loading" ] ||
    fail "font loading lines on stdout" "$(paste -sd '|' <<<"$expected_loading")" "$(paste -sd '|' <<<"$got_loading")"
pass "six 'Loading font' lines in order"

failures=$(grep -n 'Font loading failed' "$E2E_STDOUT" || true)
[ -z "$failures" ] || fail "font loading" "no 'Font loading failed.' line" "$(paste -sd '|' <<<"$failures")"
pass "no 'Font loading failed.' line"

expect_fonts_freed_at_end
pass "stdout ends with the six 'Free font' lines in order"

last_loading=$(grep -n '^Loading font' "$E2E_STDOUT" | tail -n 1 | cut -d: -f1)
first_free=$(grep -n '^Free font' "$E2E_STDOUT" | head -n 1 | cut -d: -f1)
[ "$last_loading" -lt "$first_free" ] ||
    fail "order of loading and freeing" "last 'Loading' line before first 'Free' line" \
        "Loading up to line $last_loading, Free from line $first_free"
pass "fonts are freed after they are loaded"

# SIGTERM (a logout, `kill`) ends the game as closing the window does.
start_game
wait_for_window
kill -TERM "$E2E_GAME_PID"
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after SIGTERM" 0 "$E2E_GAME_STATUS"
expect_fonts_freed_at_end
pass "SIGTERM: exit status 0, fonts freed"
