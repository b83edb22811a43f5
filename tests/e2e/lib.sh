# shellcheck shell=bash disable=SC2034  # the globals set here are read by the tests
# Shared harness for the end-to-end tests: each test runs the real game binary
# against its own Xvfb server, in its own working directory, and looks only at
# what a player would see (the window, the console, the exit status).
#
# Usage in a test:
#   source "$(dirname "$0")/lib.sh"
#   e2e_init "$@"        # GAME ASSET_DIR CLOSE_HELPER WATCH_HELPER
#   start_xvfb
#   start_game [VAR=value ...]
#   ...
# Everything started here is stopped, and the temp dir removed, when the test
# exits, whether it passed or failed.

set -euo pipefail

# Longest we wait for any one thing to happen. Only a limit for giving up on a
# broken game; passing never depends on how fast the machine is.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
E2E_POLL_INTERVAL=0.05

E2E_TITLE=Starshards
E2E_FONT=emulogic.ttf
E2E_FONT_SIZES=(72 50 46 36 24 12)

E2E_TMP=
E2E_XVFB_PID=
E2E_GAME_PID=
E2E_WATCH_PID=
E2E_GAME_STATUS=
E2E_WINDOW=

# --- reporting ---------------------------------------------------------------

e2e_dump_file() {
    local label=$1 file=$2
    [ -f "$file" ] || return 0
    echo "----- $label -----" >&2
    cat "$file" >&2
}

# fail WHAT EXPECTED GOT: report a failed check and end the test.
fail() {
    local what=$1 expected=${2-} got=${3-}
    {
        echo "FAIL: $what"
        echo "  expected: $expected"
        echo "  got:      ${got:-(nothing)}"
    } >&2
    if [ -n "$E2E_TMP" ]; then
        e2e_dump_file "game stdout" "$E2E_TMP/stdout"
        e2e_dump_file "game stderr" "$E2E_TMP/stderr"
    fi
    exit 1
}

pass() {
    echo "PASS: $*"
}

# --- setup and teardown ------------------------------------------------------

e2e_init() {
    if [ $# -ne 4 ]; then
        echo "usage: $0 STARSHARDS ASSET_DIR CLOSE_WINDOW_HELPER WATCH_WINDOWS_HELPER" >&2
        exit 2
    fi
    E2E_GAME=$(realpath "$1")
    E2E_ASSETS=$(realpath "$2")
    E2E_CLOSE_HELPER=$(realpath "$3")
    E2E_WATCH_HELPER=$(realpath "$4")
    local file
    for file in "$E2E_GAME" "$E2E_CLOSE_HELPER" "$E2E_WATCH_HELPER"; do
        [ -x "$file" ] || { echo "not an executable: $file" >&2; exit 2; }
    done
    [ -d "$E2E_ASSETS" ] || { echo "not a directory: $E2E_ASSETS" >&2; exit 2; }

    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/starshards-e2e.XXXXXX")
    E2E_WORK=$E2E_TMP/work
    mkdir "$E2E_WORK"
    # The game finds its font and pictures in its working directory.
    cp -R "$E2E_ASSETS/." "$E2E_WORK/"

    # Nothing from the caller's session may steer SDL or pick the X server.
    unset SDL_VIDEODRIVER SDL_VIDEO_WINDOW_POS SDL_VIDEO_CENTERED DISPLAY
    # In the sanitizer build, leaks inside SDL, X11 and fontconfig at exit
    # would turn exit status 0 into 23; leaks are checked by other tests.
    # Everything else ASan and UBSan catch stays fatal.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
}

# Is the process still running (and not just an unreaped zombie)?
# Forks nothing, so polling it stays cheap.
e2e_alive() {
    local pid=$1 stat
    [ -n "$pid" ] || return 1
    { read -r stat <"/proc/$pid/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    [ -n "$stat" ] && [ "${stat%% *}" != Z ]
}

# Stop a process we started: politely, then for sure. (What we start also
# gets a parent-death signal, so nothing outlives a test killed outright.)
e2e_stop() {
    local pid=$1 i
    e2e_alive "$pid" || { wait "$pid" 2>/dev/null || true; return 0; }
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        e2e_alive "$pid" || break
        sleep "$E2E_POLL_INTERVAL"
    done
    if e2e_alive "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}

e2e_cleanup() {
    local status=$?
    set +e
    [ -n "$E2E_GAME_PID" ] && e2e_stop "$E2E_GAME_PID"
    [ -n "$E2E_WATCH_PID" ] && e2e_stop "$E2E_WATCH_PID"
    [ -n "$E2E_XVFB_PID" ] && e2e_stop "$E2E_XVFB_PID"
    [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
    exit "$status"
}

# --- X server ----------------------------------------------------------------

# Starts a private Xvfb and exports DISPLAY for it. Xvfb picks a free display
# number itself (-displayfd), so tests running in parallel never collide.
# -noreset: SDL 1.2's start-up otherwise races the server resetting after the
# first client disconnects.
start_xvfb() {
    local display_file=$E2E_TMP/xvfb-display number=
    : >"$display_file"
    setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
        3>"$display_file" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!

    local deadline=$((SECONDS + E2E_TIMEOUT))
    # Xvfb writes the number and a newline once it accepts connections.
    until [ "$(tail -c 1 "$display_file" | od -An -c | tr -d ' ')" = '\n' ]; do
        if ! e2e_alive "$E2E_XVFB_PID"; then
            e2e_dump_file "Xvfb log" "$E2E_TMP/xvfb.log"
            fail "Xvfb starts" "a running X server" "Xvfb exited"
        fi
        [ "$SECONDS" -lt "$deadline" ] || fail "Xvfb starts" "a display number" "none within ${E2E_TIMEOUT}s"
        sleep "$E2E_POLL_INTERVAL"
    done
    number=$(head -n 1 "$display_file")
    export DISPLAY=":$number"

    until xdpyinfo >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "Xvfb answers on $DISPLAY" "xdpyinfo succeeds" "no answer within ${E2E_TIMEOUT}s"
        sleep "$E2E_POLL_INTERVAL"
    done
}

# Starts the window watcher; from when this returns, every top-level window
# created or mapped is recorded.
start_window_watch() {
    E2E_WATCH_LOG=$E2E_TMP/windows.log
    setpriv --pdeathsig KILL "$E2E_WATCH_HELPER" >"$E2E_WATCH_LOG" 2>"$E2E_TMP/watch.err" &
    E2E_WATCH_PID=$!
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until grep -qx ready "$E2E_WATCH_LOG"; do
        e2e_alive "$E2E_WATCH_PID" || fail "window watcher starts" "ready" "exited: $(cat "$E2E_TMP/watch.err")"
        [ "$SECONDS" -lt "$deadline" ] || fail "window watcher starts" "ready" "nothing within ${E2E_TIMEOUT}s"
        sleep "$E2E_POLL_INTERVAL"
    done
}

# Makes sure the watcher has printed every event the server sent before now:
# it sees a property change on the root window only after all earlier events.
sync_window_watch() {
    local marker=_STARSHARDS_E2E_SYNC_$$
    xprop -root -f "$marker" 8s -set "$marker" "done"
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until grep -qx "property $marker" "$E2E_WATCH_LOG"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "window watcher catches up" "property $marker" "nothing within ${E2E_TIMEOUT}s"
        sleep "$E2E_POLL_INTERVAL"
    done
}

# --- the game ----------------------------------------------------------------

# start_game [VAR=value ...]: runs the game in the background in the staged
# working directory, with stdout and stderr captured to files.
start_game() {
    (cd "$E2E_WORK" && exec setpriv --pdeathsig KILL env "$@" "$E2E_GAME" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" </dev/null) &
    E2E_GAME_PID=$!
    E2E_STDOUT=$E2E_TMP/stdout
    E2E_STDERR=$E2E_TMP/stderr
}

# Sets E2E_WINDOW to the one viewable window titled exactly "Starshards".
wait_for_window() {
    local deadline=$((SECONDS + E2E_TIMEOUT)) ids
    while :; do
        ids=$(xdotool search --onlyvisible --name "^${E2E_TITLE}\$" 2>/dev/null || true)
        [ -n "$ids" ] && break
        if ! e2e_alive "$E2E_GAME_PID"; then
            fail "a window titled '$E2E_TITLE' appears" "a viewable window" "the game exited first"
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "a window titled '$E2E_TITLE' appears" "a viewable window" \
                "none within ${E2E_TIMEOUT}s; top-level windows: $(xwininfo -root -children | grep -E '^ +0x' | tr -s ' ' | paste -sd ';')"
        fi
        sleep "$E2E_POLL_INTERVAL"
    done
    local count
    count=$(wc -l <<<"$ids")
    [ "$count" -eq 1 ] || fail "number of windows titled '$E2E_TITLE'" 1 "$count"
    E2E_WINDOW=$ids
}

# Sets GEOM_X GEOM_Y (absolute, on the screen) GEOM_W GEOM_H for a window.
window_geometry() {
    local info
    info=$(xwininfo -id "$1") || fail "xwininfo on window $1" "window information" "xwininfo failed"
    GEOM_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    GEOM_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    GEOM_W=$(sed -n 's/^ *Width: *//p' <<<"$info")
    GEOM_H=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

# Closes a window the way a window manager does (WM_DELETE_WINDOW).
close_window() {
    local output
    output=$("$E2E_CLOSE_HELPER" "$1" 2>&1) ||
        fail "the window accepts WM_DELETE_WINDOW" "the message is sent" "$output"
}

# Waits for the game to exit and sets E2E_GAME_STATUS.
wait_for_exit() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while e2e_alive "$E2E_GAME_PID"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the game exits" "exit within ${E2E_TIMEOUT}s" "still running"
        sleep "$E2E_POLL_INTERVAL"
    done
    E2E_GAME_STATUS=0
    wait "$E2E_GAME_PID" || E2E_GAME_STATUS=$?
    E2E_GAME_PID=
}

# The console lines the game prints for each font size, in order.
font_lines() {
    local prefix=$1 size
    for size in "${E2E_FONT_SIZES[@]}"; do
        printf '%s: %s point %s\n' "$prefix" "$size" "$E2E_FONT"
    done
}
