#!/usr/bin/env bash
# Plays through the real window with key presses: the title menu, the high-score table, Load
# Game without a save, a new game, pause and quit, a saved game from the working directory, game
# over and Exit. Each screen is checked by the exact pixels of its texts; the title, play, pause,
# high-score and game-over screenshots are kept in ARTIFACT_DIR.
# Usage: play-through.sh GAME ASSET_DIR CLOSE_HELPER WATCH_HELPER RENDER_TEXT ARTIFACT_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
[ $# -eq 6 ] || { echo "usage: $0 GAME ASSET_DIR CLOSE WATCH RENDER_TEXT ARTIFACT_DIR" >&2 && exit 2; }
render_text=$(realpath "$5")
artifacts=$6
e2e_init "${@:1:4}"
mkdir -p "$artifacts"
rm -f "$artifacts"/{title,high-scores,play,pause,game-over}.png
shot=$artifacts/last-seen.png # the screen the last check looked at

press() { xdotool mousemove --window "$E2E_WINDOW" 799 599 key "$@"; }
keep() { cp "$shot" "$artifacts/$1.png"; }

# missing_glyphs X Y POINTS TEXT: how many white pixels of TEXT, drawn at X,Y, are not white in
# the screenshot (a cut-off part counts as missing); "-" when the text has no white pixels.
missing_glyphs() {
    "$render_text" "$E2E_WORK/emulogic.ttf" "$3" "$4" "$E2E_TMP/text.bmp" || fail "render '$4'" "a picture" "none"
    convert "$shot" -crop "$(identify -format %wx%h "$E2E_TMP/text.bmp")+$1+$2" +repage txt:- |
        awk 'NR == FNR { if (/#FFFFFF/) { want[$1] = 1; n++ } next }
             /#FFFFFF/ && $1 in want { found++ } END { print n ? n - found : "-" }' \
            <(convert "$E2E_TMP/text.bmp" txt:-) -
}
# A screen matches when every listed text ("X Y POINTS TEXT") is shown and no "!X Y POINTS TEXT".
screen_is() {
    local item missing x y points text
    import -window "$E2E_WINDOW" "png:$shot" 2>/dev/null || return 1
    E2E_SEEN=
    for item in "$@"; do
        read -r x y points text <<<"${item#!}"
        missing=$(missing_glyphs "$x" "$y" "$points" "$text")
        [ "$missing" != - ] || fail "text '$text' at ${points}pt" "white glyph pixels" "an empty picture"
        if [ "${item:0:1}" = ! ]; then
            [ "$missing" -gt 0 ] || { E2E_SEEN="'$text' still shown at $x,$y" && return 1; }
        else
            [ "$missing" -eq 0 ] || { E2E_SEEN="'$text' at $x,$y: $missing glyph pixels not white" && return 1; }
        fi
    done
}
# white_pixels X Y: the white pixels of the 16x16 life icon place at X,Y in the screenshot.
white_pixels() { convert "$shot" -crop "16x16+$1+$2" +repage txt:- | grep -c '#FFFFFF' || true; }

start_xvfb
# shellcheck disable=SC2119  # the game needs no variables of its own here
start_game
wait_for_window

# step WHAT KEY TEXT...: presses KEY and waits until the screen shows the TEXTs (as screen_is).
# Keys are pressed one at a time, each after the last one's screen came. A synthetic key can get
# lost on a loaded machine: a key whose screen never comes is pressed again, at most twice, and
# the test says so. Every key used here changes what is shown, so a repeat cannot act twice.
step() {
    local what=$1 key=$2 try deadline
    shift 2
    for try in 1 2 3; do
        press "$key"
        deadline=$((SECONDS + 5))
        while [ "$SECONDS" -lt "$deadline" ]; do
            if screen_is "$@"; then
                [ "$try" -eq 1 ] || echo "note: $what: $key pressed $try times"
                return 0
            fi
            e2e_alive "$E2E_GAME_PID" || fail "$what" "the game running" "it exited"
            sleep "$E2E_POLL_INTERVAL"
        done
    done
    fail "$what" "the screen after pressing $key" "${E2E_SEEN:-not yet}"
}

title=("45 10 72 STARSHARDS" "263 115 12 Created by orvane")
until_true "title menu" screen_is "${title[@]}" "216 200 46 New Game"
keep title
pass "title menu"

step "Load Game highlighted" Down "193 300 46 Load Game"
step "High Scores highlighted" Down "149 400 46 High Scores"
step "high-score table" Return "149 10 46 High Scores" "250 100 24 1. oru 39400"
keep high-scores
pass "high-score table with the default first row"
step "title menu after the table" Return "${title[@]}" "149 400 46 High Scores"

step "Load Game highlighted" Up "193 300 46 Load Game"
step "Load Game without save.txt" Return "256 550 24 no save game"
pass "'no save game' after Load Game without a save"

step "New Game highlighted" Up "216 200 46 New Game"
step "new game" Return "585 20 12 Score: 0000000000" "700 575 12 Level 1" "10 575 12 Bullets: 6"
keep play
pass "new game head-up display"
step "pause" Escape "187 100 72 paused"
keep pause
pass "paused"
step "title menu after quitting" Return "${title[@]}" "216 200 46 New Game" "!256 550 24 no save game"
pass "quitting a paused game goes to the title menu, without 'no save game'"

# Nothing is fired, so the score stays as loaded, even where a rock drifts over the corner where
# new bullets wait for their first 200 ticks.
printf 'level::7\nlives::1\nscore::5000000\n' >"$E2E_WORK/save.txt"
step "Load Game highlighted" Down "193 300 46 Load Game"
step "loaded game" Return "700 575 12 Level 7" "585 20 12 Score: 0005000000"
left=$(white_pixels 85 17) middle=$(white_pixels 105 17) right=$(white_pixels 125 17)
if [ "$left" -eq 0 ] || [ "$middle" -ne 0 ] || [ "$right" -ne 0 ]; then
    fail "white pixels in the life icons at x 85, 105, 125 with one life" "some, 0, 0" "$left, $middle, $right"
fi
pass "saved game loaded: level 7, score 5000000, one life"

# Flying straight ahead through the rocks ends the two lives left within a short time.
xdotool mousemove --window "$E2E_WINDOW" 799 599 keydown Up
E2E_TIMEOUT=90 until_true "game over" screen_is "79 50 72 GAME OVER"
xdotool keyup Up
keep game-over
pass "game over"
step "first letter" a "296 350 72 a__"
step "second letter" b "296 350 72 ab_"
step "third letter" c "296 350 72 abc" "148 500 46 press enter"
# The selection stays where the game was started from: Load Game.
step "title menu after the name" Return "${title[@]}" "193 300 46 Load Game"
step "High Scores highlighted" Down "149 400 46 High Scores"
step "Exit highlighted" Down "309 500 46 Exit"
press Return
wait_for_exit
[ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after Exit" 0 "$E2E_GAME_STATUS"
pass "Exit ends the game with status 0"
