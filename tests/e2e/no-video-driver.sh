#!/usr/bin/env bash
# When SDL cannot start (here: no such video driver) the game says why on
# stderr, exits with status 1, and never opens a window.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb
start_window_watch

start_game SDL_VIDEODRIVER=nosuchdriver
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 1 ] || fail "exit status when SDL cannot start" 1 "$E2E_GAME_STATUS"
pass "exit status 1"

# The library's own words for a video driver it does not have: classic SDL 1.2 says "No available
# video device", sdl12-compat "nosuchdriver not available".
expected="Unable to init SDL: \(No available video device\|nosuchdriver not available\)"
grep -qx "$expected" "$E2E_STDERR" ||
    fail "stderr when SDL cannot start" "a line '$expected'" "$(paste -sd '|' "$E2E_STDERR")"
pass "stderr says why SDL could not start"

sync_window_watch
windows=$(grep -E '^(create|map) ' "$E2E_WATCH_LOG" || true)
[ -z "$windows" ] || fail "windows opened" "none" "$(paste -sd ' ' <<<"$windows")"
pass "no window was created"
