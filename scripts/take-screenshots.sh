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
e2e_init "$build/starshards" "$root/assets"
start_xvfb
start_game
wait_for_window
mkdir -p "$out"

# shot NAME: the window's own pixels, 800x600, saved without time stamps or other metadata.
shot() {
    import -window "$E2E_WINDOW" -strip -define png:exclude-chunks=date,time "$out/$1.png"
    echo "$out/$1.png"
}

# The pauses only give the game time to draw and the rocks time to drift.
sleep 1
shot title
press Return
sleep 3 # the new ship blinks while its shield lasts
xdotool keydown Left sleep 0.3 keyup Left
press space space
sleep 0.1
shot play
press --delay 150 Escape Return Down Down Return
sleep 1
shot high-scores
press --delay 150 Return Down Return
expect_exit 0 "after Exit"
