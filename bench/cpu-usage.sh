#!/usr/bin/env bash
# How much of one core the real game takes on the title menu, on the high-score table and in
# play at level 1, some seconds each, in a private Xvfb: read from the kernel's own accounting of
# the process (user + system time). The SDL 1.2 library is whichever the environment selects.
#   bash bench/cpu-usage.sh STARSHARDS ASSET_DIR [SECONDS]
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
seconds=${3:-10}
e2e_init "$1" "$2"
start_xvfb
# shellcheck disable=SC2119 # the game takes no arguments
start_game
wait_for_window

# Clock ticks the process has run, user and system: fields 14 and 15 of its stat line.
cpu_ticks() {
    local stat
    read -r stat <"/proc/$E2E_GAME_PID/stat"
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12]))
}

# measure WHAT KEYS...: presses the keys that lead to a screen, then reports the game's share of a
# core over the following seconds there.
measure() {
    local what=$1 before after
    shift
    [ $# -eq 0 ] || xdotool mousemove --sync 400 300 key --delay 100 "$@"
    before=$(cpu_ticks)
    sleep "$seconds"
    after=$(cpu_ticks)
    echo "cpu: $(((after - before) * 100 / ($(getconf CLK_TCK) * seconds)))% of one core over ${seconds} s ($what)"
}

measure "title menu"
measure "high-score table" Down Down Return
measure "play at level 1" Return Up Up Return # back to the title menu, New Game
kill -TERM "$E2E_GAME_PID"
expect_exit 0 "after SIGTERM"
