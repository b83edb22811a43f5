# shellcheck shell=bash disable=SC2034  # the globals set here are read by the tests
# The end-to-end tests' harness: the real game in its own working directory against its own Xvfb;
# what it starts gets a parent-death signal, so nothing outlives a test.
set -euo pipefail

# Only a limit for giving up on a broken game: passing never depends on the machine's speed.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
E2E_TMP='' E2E_EOL='' E2E_GAME_ARGS=() E2E_GAME_PID='' E2E_SEEN='' E2E_AT_EXIT='' E2E_XVFB_PID=''

# fail WHAT EXPECTED GOT: reports a failed check with the logs of what was started; ends the test.
fail() {
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "${2-}" "${3:-(nothing)}" >&2
    tail -n +1 "$E2E_TMP"/std* "$E2E_TMP"/*.log >&2 2>/dev/null
    exit 1
}
pass() { echo "PASS: $*"; }

e2e_begin() {
    trap e2e_cleanup EXIT
    trap 'exit 130' INT # without these a signal would end bash without the EXIT trap
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

# A game run as another user has lost its parent-death signal: it is stopped here.
e2e_cleanup() {
    local status=$?
    set +e
    [ -z "$E2E_GAME_PID" ] || kill -KILL "$E2E_GAME_PID" 2>/dev/null
    [ -z "$E2E_AT_EXIT" ] || $E2E_AT_EXIT
    rm -rf "$E2E_TMP"
    exit "$status"
}

# until_true WHAT COMMAND...: polls until COMMAND succeeds; it may put what it saw in E2E_SEEN.
until_true() {
    local what=$1 deadline=$((SECONDS + E2E_TIMEOUT))
    shift
    E2E_SEEN=
    until "$@"; do
        [ -z "$E2E_GAME_PID" ] || kill -0 "$E2E_GAME_PID" 2>/dev/null ||
            fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:+$E2E_SEEN, then }the game exited"
        [ "$SECONDS" -lt "$deadline" ] || fail "$what" "within ${E2E_TIMEOUT}s" "${E2E_SEEN:-not yet}"
        sleep 0.05
    done
}

# A private Xvfb on a display it picks itself, so parallel tests never collide. -noreset: SDL 1.2's
# start-up otherwise races the server's reset. start_xvfb [DEPTH [SIZE]]: 24 bits per pixel and
# 1024x768 unless given.
start_xvfb() {
    rm -f "$E2E_TMP/display" && mkfifo "$E2E_TMP/display"
    setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${2:-1024x768}x${1:-24}" \
        3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    read -t "$E2E_TIMEOUT" -r DISPLAY <"$E2E_TMP/display" || fail "Xvfb starts" "a display number" "none"
    export DISPLAY=":$DISPLAY"
}

# start_game [VAR=value ...]: the game in the background in E2E_WORK, its console in files.
start_game() {
    (cd "$E2E_WORK" && exec setpriv --pdeathsig KILL env "$@" "$E2E_GAME" "${E2E_GAME_ARGS[@]}" >"$E2E_STDOUT" 2>"$E2E_STDERR" </dev/null) &
    E2E_GAME_PID=$!
}

# Sets E2E_WINDOW to the game's window (xdotool ignores case) and checks that the game loaded the
# SDL 1.2 library this test is for, if any (E2E_SDL classic or compat).
wait_for_window() {
    until_true "a viewable window titled 'Starshards'" \
        eval 'E2E_WINDOW=$(xdotool search --onlyvisible --name "^Starshards$" 2>/dev/null)'
    [ "$(xdotool getwindowname "$E2E_WINDOW")" = Starshards ] || fail "windows titled" Starshards "$E2E_WINDOW"
    local loaded kind
    loaded=$(grep -m 1 -o '/[^ ]*/libSDL-1\.2\.so[^ ]*' "/proc/$E2E_GAME_PID/maps" || true)
    [[ $loaded == */sdl12-compat/* ]] && kind=compat || kind=${loaded:+classic}
    [ "$kind" = "${E2E_SDL:-$kind}" ] || fail "SDL library loaded" "$E2E_SDL" "${loaded:-none}"
}

# press KEY...: without a window manager the window under the pointer has the keyboard.
press() { xdotool mousemove --window "$E2E_WINDOW" 799 599 key "$@"; }

# placed_at X Y: the 800x600 client area of the game's window is at X,Y on the screen (X Y W H).
placed_at() {
    E2E_SEEN=$(xwininfo -id "$E2E_WINDOW" | awk -F': *' '/Absolute upper-left|^ *(Width|Height)/ { printf "%s ", $2 }')
    [ "$E2E_SEEN" = "$1 $2 800 600 " ]
}
# expect_exit STATUS WHAT: waits for the game to end and checks its exit status.
expect_exit() {
    until_true "the game exits $2" eval '! kill -0 $E2E_GAME_PID 2>/dev/null' # bash reaps it at once
    local status=0
    wait "$E2E_GAME_PID" || status=$?
    E2E_GAME_PID=
    [ "$status" -eq "$1" ] || fail "exit status $2" "$1" "$status"
}

# stdout_is FORMAT: the console, exactly: the six fonts loaded, then FORMAT for each (%s its size);
# each line ends in E2E_EOL and a newline.
stdout_is() {
    local expected
    expected=$(printf "Loading font: %s point emulogic.ttf$E2E_EOL\n" 72 50 46 36 24 12 && printf "$1$E2E_EOL\n" 72 50 46 36 24 12)
    [ "$(cat "$E2E_STDOUT")" = "$expected" ] || fail "stdout" "$(cat -A <<<"$expected")" "$(cat -A "$E2E_STDOUT")"
}

# The screens checked by the exact pixels of their texts, as render_text draws them with the game's
# font; shot is the file the last check looked at.
# missing_glyphs X Y POINTS TEXT: how many white pixels of TEXT, drawn at X,Y, are not white in
# the screenshot (a cut-off part counts as missing); "-" when the text has no white pixels.
missing_glyphs() {
    local text=$E2E_TMP/text-$3-${4//[^A-Za-z0-9]/_}.bmp # each text drawn once
    [ -f "$text" ] || "$render_text" "$E2E_WORK/emulogic.ttf" "$3" "$4" "$text" || fail "render '$4'" "a picture" "none"
    convert "$shot" -crop "$(identify -format %wx%h "$text")+$1+$2" +repage txt:- |
        awk 'NR == FNR { if (/#FFFFFF/) { want[$1] = 1; n++ } next }
             /#FFFFFF/ && $1 in want { found++ } END { print n ? n - found : "-" }' \
            <(convert "$text" txt:-) -
}
# A screen matches when every listed text ("X Y POINTS TEXT") is shown and no "!X Y POINTS TEXT".
screen_is() {
    local item missing x y points text
    import -window "$E2E_WINDOW" "png:$shot" 2>/dev/null || return 1
    for item in "$@"; do
        read -r x y points text <<<"${item#!}"
        missing=$(missing_glyphs "$x" "$y" "$points" "$text")
        # A text that could not be drawn shows nothing here: no count, nothing to compare with.
        [ -n "$missing" ] && [ "$missing" != - ] || fail "text '$text' at ${points}pt" "white glyph pixels" "${missing:-no picture of it}"
        E2E_SEEN="'$text' at $x,$y: $missing glyph pixels not white"
        [[ $item == !* ]] && ((missing > 0)) && continue
        [[ $item != !* ]] && ((missing == 0)) || return 1
    done
}
# step WHAT KEY TEXT...: presses KEY until the screen shows the TEXTs (as screen_is), at most
# thrice: a synthetic key can get lost on a loaded machine, and each key here changes the screen.
step() {
    local what=$1 key=$2
    shift 2
    for _ in 1 2; do
        press "$key"
        (E2E_TIMEOUT=5 until_true "$what" screen_is "$@") 2>/dev/null && return 0
    done
    press "$key"
    E2E_TIMEOUT=5 until_true "$what, after pressing $key" screen_is "$@"
}

# bash lib.sh PROGRAM [ARGS...]: runs the program against a private Xvfb, as the X11 tests do.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    e2e_begin && start_xvfb && "$@"
fi
