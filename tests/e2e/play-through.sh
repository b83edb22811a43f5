#!/usr/bin/env bash
# Plays through every screen with keys in the real window, each checked by the exact pixels of its
# texts, then loses the X server in play; the last screen seen is kept in ARTIFACT_DIR.
#   play-through.sh STARSHARDS ASSET_DIR RENDER_TEXT ARTIFACT_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
render_text=$(realpath "$3") shot=$4/last-seen.png # the screen the last check looked at
e2e_init "$1" "$2"
mkdir -p "$4"

start_xvfb
start_game
wait_for_window
title=("45 10 72 STARSHARDS" "263 115 12 Created by orvane")
until_true "title menu" screen_is "${title[@]}" "216 200 46 New Game"
step "Load Game highlighted" Down "193 300 46 Load Game"
step "High Scores highlighted" Down "149 400 46 High Scores"
step "high-score table" Return "149 10 46 High Scores" "250 100 24 1. oru 39400"
step "title menu after the table" Return "${title[@]}" "149 400 46 High Scores"
step "Load Game highlighted" Up "193 300 46 Load Game"
step "Load Game without save.txt" Return "256 550 24 no save game"

step "New Game highlighted" Up "216 200 46 New Game"
step "new game" Return "585 20 12 Score: 0000000000" "700 575 12 Level 1" "10 575 12 Bullets: 6"
step "pause" Escape "187 100 72 paused"
step "title menu after quitting" Return "${title[@]}" "216 200 46 New Game" "!256 550 24 no save game"

# Nothing is fired, so the score stays as loaded even if a rock drifts over the waiting bullets.
printf 'level::7\nlives::1\nscore::5000000\n' >"$E2E_WORK/save.txt"
step "Load Game highlighted" Down "193 300 46 Load Game"
step "loaded game" Return "700 575 12 Level 7" "585 20 12 Score: 0005000000"
icons=$(for x in 85 105 125; do convert "$shot" -crop "16x16+$x+17" txt:- | grep -c '#FFFFFF' || true; done)
[[ ${icons//$'\n'/ } =~ ^[1-9][0-9]*\ 0\ 0$ ]] || fail "white pixels of the life icons at x 85, 105, 125 with one life" "some, 0, 0" "$icons"

# Flying straight ahead through the rocks ends the two lives left within a short time.
xdotool mousemove --window "$E2E_WINDOW" 799 599 keydown Up
E2E_TIMEOUT=90 until_true "game over" screen_is "79 50 72 GAME OVER"
xdotool keyup Up
step "first letter" a "296 350 72 a__"
step "second letter" b "296 350 72 ab_"
step "third letter" c "296 350 72 abc" "148 500 46 press enter"
step "title menu after the name, Load Game still selected" Return "${title[@]}" "193 300 46 Load Game"

# The X server going away in play ends the game at once: status 1, Xlib's line, no file touched.
step "the saved game loaded again" Return "700 575 12 Level 7"
files=$(cd "$E2E_WORK" && ls -l --time-style=full-iso && cat ./*.txt)
started=$(date +%s%N) && kill -TERM "$E2E_XVFB_PID"
E2E_TIMEOUT=10 expect_exit 1 "when the X server goes away" # the bound only tells a hang
expected="X connection to $DISPLAY broken (explicit kill or server shutdown)."$'\r'
[ "$(cat "$E2E_STDERR")" = "$expected" ] || fail "stderr when the X server goes away" "$expected" "$(cat -A "$E2E_STDERR")"
[ "$(cd "$E2E_WORK" && ls -l --time-style=full-iso && cat ./*.txt)" = "$files" ] || fail "the files after losing the display" "untouched" "changed"
pass "every screen through the window's keys; the X server gone in play ends the game with status 1 after $((($(date +%s%N) - started) / 1000000)) ms"
