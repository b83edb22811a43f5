#!/usr/bin/env bash
# The time from a key sent to the X server to the first change of the game's window that it makes,
# as a player sees it: Down and Up in turn on the title menu, which moves the selection (the
# "New Game" strip changes at the next push), over PRESSES presses at random gaps, in a private
# Xvfb. The SDL 1.2 library is whichever the environment selects; the Windows build runs under Wine
# when BENCH_WINEPREFIX is set (bench/wine.sh). The figures go into OUTPUT_JSON (the
# benchmark's, made by run-bench.sh) as "key_to_screen".
#   bash bench/key-latency.sh STARSHARDS ASSET_DIR STARSHARDS_KEY_LATENCY OUTPUT_JSON [PRESSES]
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
# shellcheck source=wine.sh
source "$(dirname "$0")/wine.sh"
[ $# -ge 4 ] && [ -x "$3" ] && [ -f "$4" ] || {
    echo "usage: $0 STARSHARDS ASSET_DIR STARSHARDS_KEY_LATENCY OUTPUT_JSON [PRESSES]" >&2 && exit 2
}
tool=$(realpath "$3") json=$(realpath "$4") presses=${5:-60}
e2e_init "$1" "$2"
start_xvfb
use_wine
start_game ${WINE:+"$WINE"}
wait_for_window
# The keyboard goes to the window under the pointer; a Wine window takes it only with the focus.
[ -z "$WINE" ] || xdotool windowfocus --sync "$E2E_WINDOW"
xdotool mousemove --window "$E2E_WINDOW" 799 599
# The "New Game" strip: the item drawn large when selected, small when not.
"$tool" "$E2E_WINDOW" 200 200 400 55 "$presses" "$E2E_TMP/key.json" Down Up
python3 - "$json" "$E2E_TMP/key.json" <<'EOF'
import json, sys
with open(sys.argv[1]) as bench_file, open(sys.argv[2]) as key_file:
    figures = json.load(bench_file)
    figures["key_to_screen"] = json.load(key_file)
with open(sys.argv[1], "w") as bench_file:
    json.dump(figures, bench_file, indent=2)
    bench_file.write("\n")
EOF
if [ -n "$WINE" ]; then
    # Wine ends a program on SIGTERM with the signal's status: the game leaves by its Exit item.
    xdotool key --delay 100 Down Down Down Return
    expect_exit 0 "from Exit"
else
    kill -TERM "$E2E_GAME_PID"
    expect_exit 0 "after SIGTERM"
fi
