#!/bin/bash
# Usage: run-under-xvfb.sh PROGRAM [ARGS...]
# Runs the program with SDL's real X11 driver against a private Xvfb, stopped again at exit.
work=$(mktemp -d "${TMPDIR:-/tmp}/starshards-x11.XXXXXX") || exit 1
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT

# -displayfd: Xvfb picks a free display and writes its number once it accepts connections.
# -noreset: SDL 1.2's start-up otherwise races the server resetting after a client leaves.
mkfifo "$work/display" || exit 1
setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r number <"$work/display" || { cat "$work/xvfb.log" >&2; exit 1; }

# In the sanitizer build LeakSanitizer would report what X11 and SDL keep until the process
# ends; our own leaks are checked by the unit tests under the dummy driver.
unset SDL_VIDEODRIVER
DISPLAY=":$number" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$@"
