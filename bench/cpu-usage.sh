#!/usr/bin/env bash
# How much of one core the real game takes on the title menu, on the high-score table and in
# play at level 1, some seconds each, in a private Xvfb: read from the kernel's own accounting of
# the process (user + system time). The SDL 1.2 library is whichever the environment selects; the
# Windows build runs under Wine when BENCH_WINEPREFIX is set (bench/wine.sh), and then Wine's
# server is measured beside the game.
#   bash bench/cpu-usage.sh STARSHARDS ASSET_DIR [SECONDS]
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
# shellcheck source=wine.sh
source "$(dirname "$0")/wine.sh"
seconds=${3:-10}
e2e_init "$1" "$2"
start_xvfb
use_wine
# env runs Wine with the game as its argument; Wine's program stays in the process Wine started.
start_game ${WINE:+"$WINE"}
wait_for_window
server=${WINE:+$(wine_server_pid)}

# Clock ticks process $1 has run, user and system: fields 14 and 15 of its stat line.
cpu_ticks() {
    local stat
    read -r stat <"/proc/$1/stat"
    stat=${stat##*) }
    read -r -a fields <<<"$stat"
    echo $((fields[11] + fields[12]))
}

# The share of a core that ticks counted over the measuring time make, in per cent to a tenth.
share() {
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.1f", t * 100 / (hz * s) }'
}

# measure WHAT KEYS...: presses the keys that lead to a screen, then reports the game's share of a
# core over the following seconds there. A Wine window takes keys only once it has the focus.
measure() {
    local what=$1 before after server_before=0 server_after=0 line
    shift
    [ $# -eq 0 ] || [ -z "$WINE" ] || xdotool windowfocus --sync "$E2E_WINDOW"
    [ $# -eq 0 ] || xdotool mousemove --sync 400 300 key --delay 100 "$@"
    before=$(cpu_ticks "$E2E_GAME_PID")
    [ -z "$server" ] || server_before=$(cpu_ticks "$server")
    sleep "$seconds"
    after=$(cpu_ticks "$E2E_GAME_PID")
    [ -z "$server" ] || server_after=$(cpu_ticks "$server")
    line="cpu: $(share $((after - before)))% of one core over ${seconds} s ($what)"
    [ -z "$server" ] || line+="; Wine's server $(share $((server_after - server_before)))%"
    echo "$line"
}

measure "title menu"
measure "high-score table" Down Down Return
measure "play at level 1" Return Up Up Return # back to the title menu, New Game
if [ -n "$WINE" ]; then
    # Wine ends a program on SIGTERM with the signal's status: the game leaves by its Exit item.
    xdotool key --delay 100 Escape Return Down Down Down Return # pause, quit to the menu, Exit
    expect_exit 0 "from Exit"
else
    kill -TERM "$E2E_GAME_PID"
    expect_exit 0 "after SIGTERM"
fi
