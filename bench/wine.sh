# shellcheck shell=bash disable=SC2034 # E2E_AT_EXIT is read by tests/e2e/lib.sh
# The benchmark's scripts under Wine, when WINE names wine64: the Windows build runs in the prefix
# WINEPREFIX (kept in the build tree; made on first use), whose Wine processes are stopped when
# the script ends. Source after tests/e2e/lib.sh; call use_wine once the X server is up.
WINE=${WINE:-}

use_wine() {
    [ -n "$WINE" ] || return 0
    [ -n "${WINEPREFIX:-}" ] || { echo "WINE needs WINEPREFIX" >&2 && exit 2; }
    WINEPREFIX=$(realpath -m "$WINEPREFIX") # Wine takes no other; the server is found by it
    export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
    E2E_AT_EXIT=stop_wine
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot -i >"$E2E_TMP/wineboot.log" 2>&1 ||
        fail "Wine makes its prefix" "$WINEPREFIX" "wineboot failed"
}

stop_wine() { "$(dirname "$WINE")/wineserver" -k 2>/dev/null; }

# The server of this prefix, which passes the Windows program's messages and waits: part of what
# the program costs under Wine.
wine_server_pid() {
    local pid
    for pid in $(pgrep -x 'wineserver(64)?'); do
        if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
        fi
    done
}
