# shellcheck shell=bash disable=SC2034  # the globals set here are read by the tests
# The end-to-end tests' harness: the real game in its own working directory against its own Xvfb.
# All started here is stopped, and the temp dir removed, when the test exits, pass or fail; each
# process also gets a parent-death signal, so nothing outlives a killed test.
set -euo pipefail

# Only a limit for giving up on a broken game: passing never depends on the machine's speed.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
E2E_POLL=0.05
E2E_TMP='' E2E_GAME_PID='' E2E_OTHER_PIDS='' E2E_SEEN='' E2E_AT_EXIT=''

# fail WHAT EXPECTED GOT: reports a failed check with the logs of what was started; ends the test.
fail() {
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "${2-}" "${3:-(nothing)}" >&2
    local log
    for log in stdout stderr xvfb.log openbox.log; do
        [ ! -s "$E2E_TMP/$log" ] || { echo "----- $log -----" && cat "$E2E_TMP/$log"; } >&2
    done
    exit 1
}
pass() { echo "PASS: $*"; }
skip() { echo "SKIP: $*" && exit 77; } # ctest counts status 77 as skipped

# e2e_begin: a temp dir and a clean environment, and everything stopped at exit.
e2e_begin() {
    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/starshards-e2e.XXXXXX")
    # Nothing from the caller's session may steer SDL or pick the X server.
    unset SDL_VIDEODRIVER SDL_VIDEO_WINDOW_POS SDL_VIDEO_CENTERED DISPLAY
    # Leaks of SDL, X11 and fontconfig at exit would make the sanitizer build's status 0 into 23.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
}

# e2e_init GAME ASSET_DIR: the game runs in a working directory holding a copy of its assets.
e2e_init() {
    [ -x "$1" ] && [ -d "$2" ] || { echo "usage: $0 STARSHARDS ASSET_DIR ..." >&2 && exit 2; }
    E2E_GAME=$(realpath "$1") E2E_ASSETS=$(realpath "$2")
    e2e_begin
    E2E_WORK=$E2E_TMP/work E2E_STDOUT=$E2E_TMP/stdout E2E_STDERR=$E2E_TMP/stderr
    cp -R "$E2E_ASSETS" "$E2E_WORK"
}

# Is the process still running (and not an unreaped zombie)? Forks nothing.
e2e_alive() {
    local stat
    { read -r stat <"/proc/${1:-none}/stat"; } 2>/dev/null && stat=${stat##*) } && [ "${stat%% *}" != Z ]
}

# Stops what we started, politely, then for sure, and removes the temp dir.
e2e_cleanup() {
    local status=$? pid i
    set +e
    for pid in $E2E_GAME_PID $E2E_OTHER_PIDS; do
        e2e_alive "$pid" && kill -TERM "$pid" 2>/dev/null
        for ((i = 0; i < 100; i++)); do e2e_alive "$pid" && sleep "$E2E_POLL"; done
        e2e_alive "$pid" && kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    [ -z "$E2E_AT_EXIT" ] || $E2E_AT_EXIT
    [ -z "$E2E_TMP" ] || rm -rf "$E2E_TMP"
    exit "$status"
}

# until_true WHAT COMMAND...: polls until COMMAND succeeds; fails once the game has ended, or
# after E2E_TIMEOUT seconds. COMMAND may put what it saw in E2E_SEEN.
until_true() {
    local what=$1 deadline=$((SECONDS + E2E_TIMEOUT)) ended
    shift
    E2E_SEEN=
    while :; do
        ended=
        e2e_alive "$E2E_GAME_PID" || ended=$E2E_GAME_PID
        "$@" && return 0
        [ -z "$ended" ] || fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:+$E2E_SEEN, then }the game exited"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:-not yet}"
        sleep "$E2E_POLL"
    done
}
quietly() { "$@" >/dev/null 2>&1; }

# A private Xvfb, on a display it picks itself and writes once it accepts connections
# (-displayfd), so parallel tests never collide. -noreset: SDL 1.2's start-up otherwise races the
# server resetting after the first client disconnects.
start_xvfb() {
    local number
    mkfifo "$E2E_TMP/display"
    setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
        3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_OTHER_PIDS+=" $!"
    read -t "$E2E_TIMEOUT" -r number <"$E2E_TMP/display" || fail "Xvfb starts" "a display number" "none"
    export DISPLAY=":$number"
    until_true "Xvfb answers on $DISPLAY" quietly xdpyinfo
}

# openbox announces itself (wmctrl -m answers) before it has finished starting up; a window mapped
# in between may never be mapped, so wait for its --startup command too.
start_window_manager() {
    setpriv --pdeathsig TERM openbox --sm-disable --startup "touch $E2E_TMP/openbox-ready" \
        >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_OTHER_PIDS+=" $!"
    until_true "openbox manages the screen" eval 'quietly wmctrl -m && [ -e "$E2E_TMP/openbox-ready" ]'
}

# start_game [VAR=value ...]: the game in the background in E2E_WORK, its console in files.
start_game() {
    (cd "$E2E_WORK" && exec setpriv --pdeathsig KILL env "$@" "$E2E_GAME" >"$E2E_STDOUT" 2>"$E2E_STDERR" </dev/null) &
    E2E_GAME_PID=$!
}

# Sets E2E_WINDOW to the one viewable window titled exactly "Starshards" (xdotool ignores case),
# and checks that the game loaded the SDL 1.2 library this test is for (E2E_SDL classic or compat).
find_window() { E2E_WINDOW=$(xdotool search --onlyvisible --name '^Starshards$' 2>/dev/null); }
wait_for_window() {
    until_true "a viewable window titled 'Starshards'" find_window
    local title loaded kind=classic
    title=$(xdotool getwindowname "$E2E_WINDOW")
    [ "$title" = Starshards ] && [ "$(wc -l <<<"$E2E_WINDOW")" -eq 1 ] || fail "windows titled" Starshards "$E2E_WINDOW"
    [ -n "${E2E_SDL:-}" ] || return 0
    loaded=$(grep -m 1 -o '/[^ ]*/libSDL-1\.2\.so[^ ]*' "/proc/$E2E_GAME_PID/maps" || true)
    [[ $loaded != */sdl12-compat/* ]] || kind=compat
    [ -n "$loaded" ] && [ "$kind" = "$E2E_SDL" ] || fail "SDL library loaded" "$E2E_SDL" "${loaded:-none}"
}

# press KEY...: without a window manager the window under the pointer has the keyboard.
press() { xdotool mousemove --window "$E2E_WINDOW" 799 599 key "$@"; }

# expect_exit STATUS WHAT: waits for the game to end and checks its exit status.
expect_exit() {
    until_true "the game exits $2" eval '! e2e_alive $E2E_GAME_PID'
    local status=0
    wait "$E2E_GAME_PID" || status=$?
    E2E_GAME_PID=
    [ "$status" -eq "$1" ] || fail "exit status $2" "$1" "$status"
}

# bash lib.sh PROGRAM [ARGS...]: runs the program against a private Xvfb, as the X11 tests do.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    e2e_begin && start_xvfb && "$@"
fi
