# shellcheck shell=bash disable=SC2034  # the globals set here are read by the tests
# Shared harness for the end-to-end tests: each test runs the real game binary against its own
# Xvfb, in its own working directory, and looks only at what a player would see (the window, the
# console, the exit status): e2e_init "$@"; start_xvfb; start_game [VAR=value ...]; ...
# Everything started here is stopped, and the temp dir removed, when the test exits, whether it
# passed or failed; it also gets a parent-death signal, so nothing outlives a killed test.

set -euo pipefail

# Longest we wait for any one thing to happen. Only a limit for giving up on a broken game;
# passing never depends on how fast the machine is.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
E2E_POLL_INTERVAL=0.05
E2E_TITLE=Starshards
E2E_FONT_SIZES=(72 50 46 36 24 12)
E2E_TMP='' E2E_XVFB_PID='' E2E_GAME_PID='' E2E_WATCH_PID='' E2E_SEEN=''
# A command the test wants run at its end, pass or fail, once what it started has stopped.
E2E_AT_EXIT=''

# fail WHAT EXPECTED GOT: reports a failed check, with the logs of what was started, and ends
# the test.
fail() {
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "${2-}" "${3:-(nothing)}" >&2
    local log
    for log in stdout stderr xvfb.log watch.err; do
        if [ -s "$E2E_TMP/$log" ]; then echo "----- $log -----" && cat "$E2E_TMP/$log"; fi
    done >&2
    exit 1
}

pass() { echo "PASS: $*"; }

# skip REASON: ends a test that cannot run here; ctest counts status 77 as skipped.
skip() {
    echo "SKIP: $*"
    exit 77
}

# e2e_begin: a temp dir and a clean environment, and everything stopped at exit.
e2e_begin() {
    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/starshards-e2e.XXXXXX")
    # Nothing from the caller's session may steer SDL or pick the X server.
    unset SDL_VIDEODRIVER SDL_VIDEO_WINDOW_POS SDL_VIDEO_CENTERED DISPLAY
    # In the sanitizer build, leaks inside SDL, X11 and fontconfig at exit would turn exit
    # status 0 into 23; leaks are checked by other tests. All else ASan and UBSan catch is fatal.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
}

e2e_init() {
    if [ $# -ne 4 ] || [ ! -x "$1" ] || [ ! -d "$2" ] || [ ! -x "$3" ] || [ ! -x "$4" ]; then
        echo "usage: $0 STARSHARDS ASSET_DIR CLOSE_WINDOW_HELPER WATCH_WINDOWS_HELPER" >&2
        exit 2
    fi
    E2E_GAME=$(realpath "$1") E2E_ASSETS=$(realpath "$2")
    E2E_CLOSE_HELPER=$(realpath "$3") E2E_WATCH_HELPER=$(realpath "$4")
    e2e_begin
    # The game finds its font and pictures in its working directory.
    E2E_WORK=$E2E_TMP/work
    cp -R "$E2E_ASSETS" "$E2E_WORK"
}

# Is the process still running (and not just an unreaped zombie)? Forks nothing.
e2e_alive() {
    local stat
    { read -r stat <"/proc/${1:-none}/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    [ -n "$stat" ] && [ "${stat%% *}" != Z ]
}
e2e_ended() { ! e2e_alive "$1"; }

# Stops what we started, politely, then for sure, and removes the temp dir.
e2e_cleanup() {
    local status=$? pid i
    set +e
    for pid in "$E2E_GAME_PID" "$E2E_WATCH_PID" "$E2E_XVFB_PID"; do
        e2e_alive "$pid" && kill -TERM "$pid" 2>/dev/null
        for ((i = 0; i < 100; i++)); do e2e_alive "$pid" && sleep "$E2E_POLL_INTERVAL"; done
        e2e_alive "$pid" && kill -KILL "$pid" 2>/dev/null
        [ -z "$pid" ] || wait "$pid" 2>/dev/null
    done
    [ -z "$E2E_AT_EXIT" ] || $E2E_AT_EXIT
    [ -z "$E2E_TMP" ] || rm -rf "$E2E_TMP"
    exit "$status"
}

# until_true WHAT COMMAND...: polls until COMMAND succeeds; fails when the game or the window
# watcher had ended before it failed, or after E2E_TIMEOUT seconds. COMMAND may put what it saw
# in E2E_SEEN.
until_true() {
    local what=$1 deadline=$((SECONDS + E2E_TIMEOUT)) pid ended
    shift
    E2E_SEEN=
    while :; do
        ended=
        for pid in "$E2E_GAME_PID" "$E2E_WATCH_PID"; do
            [ -z "$pid" ] || e2e_alive "$pid" || ended=$pid
        done
        "$@" && return 0
        [ -z "$ended" ] || fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:+$E2E_SEEN, then }process $ended exited"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:-not yet}"
        sleep "$E2E_POLL_INTERVAL"
    done
}

# Starts a private Xvfb and exports DISPLAY for it. Xvfb picks a free display itself and writes
# its number once it accepts connections (-displayfd), so tests running in parallel never
# collide. -noreset: SDL 1.2's start-up otherwise races the server resetting after the first
# client disconnects.
start_xvfb() {
    local number
    mkfifo "$E2E_TMP/display"
    setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
        3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    read -t "$E2E_TIMEOUT" -r number <"$E2E_TMP/display" ||
        fail "Xvfb starts" "a display number within ${E2E_TIMEOUT}s" "none"
    export DISPLAY=":$number"
    until_true "Xvfb answers on $DISPLAY" e2e_quiet xdpyinfo
}
e2e_quiet() { "$@" >/dev/null 2>&1; }

# Starts the window watcher; from when this returns, every top-level window created or mapped
# is recorded in E2E_WATCH_LOG.
start_window_watch() {
    E2E_WATCH_LOG=$E2E_TMP/windows.log
    setpriv --pdeathsig KILL "$E2E_WATCH_HELPER" >"$E2E_WATCH_LOG" 2>"$E2E_TMP/watch.err" &
    E2E_WATCH_PID=$!
    until_true "window watcher starts" grep -sqx ready "$E2E_WATCH_LOG"
}

# Makes sure the watcher has printed every event the server sent before now: it sees a
# property change on the root window only after all earlier events.
sync_window_watch() {
    local marker=_STARSHARDS_E2E_SYNC_$$
    xprop -root -f "$marker" 8s -set "$marker" "done"
    until_true "window watcher catches up" grep -qx "property $marker" "$E2E_WATCH_LOG"
}

# start_game [VAR=value ...]: runs the game in the background in the staged working directory,
# with stdout and stderr captured to files.
start_game() {
    E2E_STDOUT=$E2E_TMP/stdout
    E2E_STDERR=$E2E_TMP/stderr
    (cd "$E2E_WORK" && exec setpriv --pdeathsig KILL env "$@" "$E2E_GAME" >"$E2E_STDOUT" 2>"$E2E_STDERR" </dev/null) &
    E2E_GAME_PID=$!
}

# Sets E2E_WINDOW to the one viewable window titled exactly "Starshards".
e2e_find_window() { E2E_WINDOW=$(xdotool search --onlyvisible --name "^${E2E_TITLE}\$" 2>/dev/null); }
wait_for_window() {
    until_true "a viewable window titled '$E2E_TITLE' appears" e2e_find_window
    local count
    count=$(wc -l <<<"$E2E_WINDOW")
    [ "$count" -eq 1 ] || fail "number of windows titled '$E2E_TITLE'" 1 "$count"
    check_sdl_library
}

# The tests run on two SDL 1.2 libraries (E2E_SDL is classic or compat): make sure the game
# process really loaded the one this test is for.
check_sdl_library() {
    [ -n "${E2E_SDL:-}" ] || return 0
    local loaded
    loaded=$(grep -m 1 -o '/[^ ]*/libSDL-1\.2\.so[^ ]*' "/proc/$E2E_GAME_PID/maps" || true)
    case "$E2E_SDL:$loaded" in
    compat:*/sdl12-compat/*) ;;
    classic:/*) [[ $loaded != */sdl12-compat/* ]] || fail "SDL library loaded" classic "$loaded" ;;
    *) fail "SDL library loaded" "$E2E_SDL" "${loaded:-none}" ;;
    esac
}

# Sets GEOM_X GEOM_Y (absolute, on the screen) GEOM_W GEOM_H for a window.
window_geometry() {
    local info
    info=$(xwininfo -id "$1") || fail "xwininfo on window $1" "window information" "xwininfo failed"
    read -r GEOM_X GEOM_Y GEOM_W GEOM_H < <(awk -F: '/Absolute upper-left|^ *(Width|Height):/ {
        v = v " " $2 + 0 } END { print v }' <<<"$info")
}

# Closes a window the way a window manager does (WM_DELETE_WINDOW).
close_window() {
    local output
    output=$("$E2E_CLOSE_HELPER" "$1" 2>&1) ||
        fail "the window accepts WM_DELETE_WINDOW" "the message is sent" "$output"
}

# Waits for the game to exit and sets E2E_GAME_STATUS.
wait_for_exit() {
    until_true "the game exits" e2e_ended "$E2E_GAME_PID"
    E2E_GAME_STATUS=0
    wait "$E2E_GAME_PID" || E2E_GAME_STATUS=$?
    E2E_GAME_PID=
}

# The console lines the game prints for each font size, in order.
font_lines() {
    local size
    for size in "${E2E_FONT_SIZES[@]}"; do
        printf '%s: %s point emulogic.ttf\n' "$1" "$size"
    done
}

# The shutdown lines must be the very last thing the game printed, newline-terminated.
expect_fonts_freed_at_end() {
    font_lines "Free font" >"$E2E_TMP/expected-free"
    tail -n "${#E2E_FONT_SIZES[@]}" "$E2E_STDOUT" >"$E2E_TMP/got-free"
    cmp -s "$E2E_TMP/expected-free" "$E2E_TMP/got-free" ||
        fail "last lines of stdout" "$(paste -sd '|' "$E2E_TMP/expected-free")" "$(paste -sd '|' "$E2E_TMP/got-free")"
}

# play_launcher HOME [VAR=value ...]: starts the launcher E2E_GAME in E2E_WORK, a directory with
# nothing of the game's, as the player with that HOME and no XDG_DATA_HOME unless given; goes to
# the high-score table and back, chooses Exit, and expects exit status 0 and E2E_WORK left empty.
play_launcher() {
    local home=$1
    shift
    start_game -u XDG_DATA_HOME HOME="$home" "$@"
    wait_for_window
    # Without a window manager the window under the pointer has the keyboard.
    xdotool mousemove --window "$E2E_WINDOW" 400 300 key Down Down Return Return Down Return
    wait_for_exit
    [ "$E2E_GAME_STATUS" -eq 0 ] || fail "exit status after the high-score table and Exit" 0 "$E2E_GAME_STATUS"
    [ -z "$(ls -A "$E2E_WORK")" ] || fail "files in the directory the launcher was started from" "none" "$(ls -A "$E2E_WORK")"
}

# check_player_dir DIR DATA_DIR: the high-score file is in the player's directory and every
# installed asset of DATA_DIR is linked there.
check_player_dir() {
    local asset
    [ -f "$1/highscores.txt" ] || fail "high-score file in $1" "a regular file" "$(ls -l "$1" 2>&1)"
    for asset in "$2"/*; do
        [ "$(readlink "$1/${asset##*/}")" = "$asset" ] ||
            fail "link to ${asset##*/} in $1" "$asset" "$(ls -l "$1/${asset##*/}" 2>&1)"
    done
}

# check_default_high_scores FILE: the table a first start makes.
check_default_high_scores() {
    local defaults='oru::39400 fen::20000 zol::15600 wyr::13500 kha::10000 mip::9500 tzo::8700 lun::5400 vek::5000 qrx::3200'
    [ "$(cat "$1")" = "${defaults// /$'\n'}" ] ||
        fail "high scores in $1 after the first start" "the ten defaults" "$(paste -sd ' ' "$1")"
}
