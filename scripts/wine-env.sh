# shellcheck shell=sh disable=SC2034 # WINESERVER is read by the scripts that source this file
# Wine as every script of the project runs the Windows build, sourced by them: WINE is the 64-bit
# loader and WINESERVER its server, quiet (no debug lines, no offer to install Mono or Gecko).
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# use_wine_prefix DIRECTORY: Wine's prefix from now on, never ~/.wine.
use_wine_prefix() {
    WINEPREFIX=$(realpath -m "$1") # Wine takes no other; its server is found by it
    export WINEPREFIX
}

# Makes the prefix, unless made. Its making takes several seconds, so programs that start at once
# wait for the first to finish it.
make_wine_prefix() {
    [ -f "$WINEPREFIX/.made" ] && return 0
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX" sh -c '[ -f "$WINEPREFIX/.made" ] ||
        { "$1" wineboot -i && touch "$WINEPREFIX/.made"; }' sh "$WINE"
}
