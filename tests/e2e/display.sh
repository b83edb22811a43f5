#!/usr/bin/env bash
# Displays the game cannot use or keep: an 8-bit screen at start-up, an X server that goes away
# in play.
#   display.sh STARSHARDS ASSET_DIR RENDER_TEXT
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
E2E_RENDER_TEXT=$(realpath "$3")
e2e_init "$1" "$2"
E2E_SHOT=$E2E_TMP/shot.png

# sdl12-compat finds no renderer for 8 bits per pixel and says so; the classic library converts.
start_xvfb 8
start_game
if [ "${E2E_SDL:-}" = compat ]; then
    expect_exit 2 "on an 8-bit screen"
    expected="Unable to set up video: Couldn't find matching render driver"
    [ "$(cat "$E2E_STDERR")" = "$expected" ] || fail "stderr on an 8-bit screen" "$expected" "$(cat "$E2E_STDERR")"
    pass "8-bit screen: status 2 and the failed call's error"
else
    wait_for_window
    until_true "title menu on an 8-bit screen" screen_is "45 10 72 STARSHARDS" "216 200 46 New Game"
    kill -TERM "$E2E_GAME_PID"
    expect_exit 0 "on an 8-bit screen after SIGTERM"
    pass "8-bit screen: the title menu drawn"
fi

# files: the working directory's names, sizes, times and contents.
files() { (cd "$E2E_WORK" && ls -l --time-style=full-iso && cat ./*.txt); }
kill -TERM "$E2E_XVFB_PID"
start_xvfb
start_game
wait_for_window
step "new game" Return "585 20 12 Score: 0000000000" "10 575 12 Bullets: 6"
files >"$E2E_TMP/files-before"
started=$(date +%s%N)
kill -TERM "$E2E_XVFB_PID"
# Only a hang outlasts this bound: the game is meant to end at once.
E2E_TIMEOUT=10 expect_exit 1 "when the X server goes away"
took=$((($(date +%s%N) - started) / 1000000))
expected="X connection to $DISPLAY broken (explicit kill or server shutdown)."$'\r'
[ "$(cat "$E2E_STDERR")" = "$expected" ] ||
    fail "stderr when the X server goes away" "$expected" "$(cat -A "$E2E_STDERR")"
files | cmp -s - "$E2E_TMP/files-before" || fail "the working directory after the display's loss" "as it was" "changed"
pass "X server gone in play: status 1 after ${took} ms, Xlib's line, no file touched"
