#!/usr/bin/env bash
# Takes the README's screenshots from the real game window under a private Xvfb: the title menu,
# play with the head-up display, and the high-score table. Rerun it to refresh them:
#   scripts/take-screenshots.sh [BUILD_DIR]     (BUILD_DIR defaults to build; run `make` first)
# The game starts in a fresh working directory, so the table shows the ten default scores.
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
root=$(realpath "$(dirname "$0")/..")
build=${1:-$root/build}
out=$root/docs/screenshots
e2e_init "$build/starshards" "$root/assets" "$build/tests/e2e/x11-close-window" "$build/tests/e2e/x11-watch-windows"
start_xvfb
# shellcheck disable=SC2119 # the game takes no arguments
start_game
wait_for_window
mkdir -p "$out"

# keys KEY...: presses the keys with the pointer on the window, which then has the keyboard.
keys() {
    xdotool mousemove --window "$E2E_WINDOW" 799 599 key --delay 150 "$@"
}

# shot NAME: the window's own pixels, 800x600, saved without time stamps or other metadata.
shot() {
    import -window "$E2E_WINDOW" -strip -define png:exclude-chunks=date,time "$out/$1.png"
    echo "$out/$1.png"
}

# The pauses only give the game time to draw and the rocks time to drift.
sleep 1
shot title
keys Return
sleep 3 # the new ship blinks while its shield lasts
xdotool keydown Left sleep 0.3 keyup Left
keys space space
sleep 0.1
shot play
keys Escape Return Down Down Return
sleep 1
shot high-scores
keys Return Down Return
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after Exit" 0 "$E2E_GAME_STATUS"
