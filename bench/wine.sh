# shellcheck shell=bash disable=SC2034 # E2E_AT_EXIT is read by tests/e2e/lib.sh
# The benchmark's scripts under Wine, when BENCH_WINEPREFIX names a Wine prefix (kept in the build
# tree, made on first use): the Windows build runs there, as scripts/wine-env.sh runs Wine, and the
# prefix's Wine processes are stopped when the script ends. Source after tests/e2e/lib.sh; call
# use_wine once the X server is up; WINE is then set.
WINE=''

use_wine() {
    [ -n "${BENCH_WINEPREFIX:-}" ] || return 0
    # shellcheck source=../scripts/wine-env.sh
    source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
    use_wine_prefix "$BENCH_WINEPREFIX"
    E2E_AT_EXIT=stop_wine
    make_wine_prefix >"$E2E_TMP/wineboot.log" 2>&1 || fail "Wine makes its prefix" "$WINEPREFIX" "wineboot failed"
}

stop_wine() { "$WINESERVER" -k 2>/dev/null; }

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
