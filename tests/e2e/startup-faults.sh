#!/usr/bin/env bash
# Start-up faults: a missing font, missing pictures, a high-score table that cannot be read. Each
# time the game opens its window, draws what it can, takes keys through the high-score table,
# play and pause back to the title menu, and ends with status 0 when its window is closed.
#   startup-faults.sh STARSHARDS ASSET_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
start_xvfb
start_window_manager

# shot FILE: the window's pixels, raw; prints how many colours they hold.
shot() { import -window "$E2E_WINDOW" -depth 8 "rgb:$1" 2>/dev/null && identify -size 800x600 -depth 8 -format '%k' "rgb:$1"; }
drawn() { [ "$(shot "$E2E_TMP/before")" -gt 1 ] 2>/dev/null; }
changed() { shot "$E2E_TMP/after" >/dev/null && ! cmp -s "$E2E_TMP/before" "$E2E_TMP/after"; }

# run_case NAME SETUP [start_game arguments]: a fresh working directory changed by SETUP, then
# the game started, played and closed.
run_case() {
    local name=$1 setup=$2
    shift 2
    rm -rf "$E2E_WORK" && cp -R "$E2E_ASSETS" "$E2E_WORK"
    (cd "$E2E_WORK" && eval "$setup")
    start_game "$@"
    wait_for_window
    until_true "$name: the title screen is drawn in more than one colour" drawn
    xdotool windowactivate --sync "$E2E_WINDOW" key Down Down Return Return Up Up Return space Escape Return
    # Still drawing; with no pictures only the title menu's new star field changes the screen.
    until_true "$name: the screen changes after the keys" changed
    wmctrl -c Starshards
    expect_exit 0 "$name: after closing"
    pass "$name: drawn, keys taken, exit status 0"
}

run_case "no font" "rm emulogic.ttf"
{ font_lines "Loading font" && printf 'Font loading failed.\n%.0s' "${E2E_FONT_SIZES[@]}"; } | cmp -s - "$E2E_STDOUT" ||
    fail "stdout without a font" "six loading lines, then six failures" "$(paste -sd '|' "$E2E_STDOUT")"
pass "no font: six loading lines, six failures from the sweep, no 'Free font' line"

run_case "no pictures" "rm ./*.png ./*.jpg"

run_case "table is a directory" "mkdir highscores.txt"
[ -d "$E2E_WORK/highscores.txt" ] || fail "highscores.txt after the game" "the directory kept" "replaced"

# A table its player cannot read: the game runs as user nobody (start_game's env runs setpriv).
[ "$(id -u)" -eq 0 ] || { echo "SKIP: table unreadable to its player: running as nobody needs root" && exit 0; }
chmod 755 "$E2E_TMP"
run_case "table unreadable to its player" \
    "printf 'abc::1' >highscores.txt && chmod 000 highscores.txt && chown 65534 ." \
    setpriv --reuid=65534 --regid=65534 --clear-groups
table=$(stat -c %a "$E2E_WORK/highscores.txt") && table+=" $(cat "$E2E_WORK/highscores.txt")"
[ "$table" = "0 abc::1" ] || fail "the unreadable table after the game" "0 abc::1" "$table"
