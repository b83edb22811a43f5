#!/usr/bin/env bash
# The game installed by `cmake --install` of BUILD_DIR into a temporary prefix or, given VERSION,
# by `dpkg -i` of the package of `make deb`: its files, its launcher, its uninstalling.
#   install.sh STARSHARDS ASSET_DIR BUILD_DIR [VERSION]
# shellcheck source=lib.sh disable=SC2034 # lib.sh reads the E2E_ variables set here
source "$(dirname "$0")/lib.sh"
skip() { echo "SKIP: $*" && exit 77; } # ctest counts status 77 as skipped
build=$(realpath "$3") dist=$(realpath "$(dirname "$0")/../../dist")
e2e_init "$1" "$2"
home=$E2E_TMP/home E2E_WORK=$E2E_TMP/elsewhere
mkdir -p "$home" "$E2E_WORK"
files=(libexec/starshards/starshards share/doc/starshards/emulogic-OFL.txt
    share/applications/io.github.starshards.starshards.desktop share/metainfo/io.github.starshards.starshards.metainfo.xml
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/starshards.png)

if [ $# -eq 3 ]; then
    prefix=$E2E_TMP/prefix data=share/starshards E2E_GAME=$E2E_TMP/prefix/bin/starshards
    mkdir -p "$prefix/share/applications" && touch "$prefix/share/applications/other.desktop"
    files+=(bin/starshards share/man/man6/starshards.6)
    # Installed twice, as by a second `make install`: the directories are still the first one's.
    install=(sh -c 'cmake --install "$0" --prefix "$1" && cmake --install "$0" --prefix "$1"' "$build" "$prefix")
    uninstall=(sh "$dist/uninstall.sh" "$E2E_TMP/manifest")
    # A successful install rewrites the build's manifest: the one of a real `make install` is put back.
    [ ! -f "$build/install_manifest.txt" ] || cp -p "$build/install_manifest.txt" "$E2E_TMP/kept-manifest"
else
    [ "$(id -u)" -eq 0 ] || skip "installing the package with dpkg -i needs root"
    command -v dpkg >/dev/null || skip "dpkg is not available"
    package=$build/starshards_$4_$(dpkg --print-architecture).deb
    [ -f "$package" ] || skip "no package $package: make deb builds it"
    prefix=/usr data=share/games/starshards E2E_GAME=/usr/games/starshards
    files=("${files[@]/%OFL.txt/OFL.txt.gz}" games/starshards share/doc/starshards/copyright share/man/man6/starshards.6.gz)
    install=(dpkg -i "$package") uninstall=(dpkg -r starshards)
    exec 9>/tmp/starshards-deb-test.lock
    flock -w 200 9 || fail "the package test's lock /tmp/starshards-deb-test.lock" "free within 200s" "still held"
    status=$(dpkg-query -W -f='${db:Status-Status}' starshards 2>/dev/null || true)
    [[ $status =~ ^(not-installed)?$ ]] || skip "a starshards package is $status on this machine; the test would replace it"
fi
E2E_AT_EXIT="${uninstall[*]}" # whatever happens
"${install[@]}" >"$E2E_TMP/install.log" 2>&1 || fail "${install[*]}" "exit status 0" "$(tail -n 5 "$E2E_TMP/install.log")"
[ $# -eq 4 ] || mv "$build/install_manifest.txt" "$E2E_TMP/manifest"
[ ! -f "$E2E_TMP/kept-manifest" ] || mv "$E2E_TMP/kept-manifest" "$build/install_manifest.txt"
files+=("$data/emulogic.ttf")
for file in "${files[@]}"; do [ -f "$prefix/$file" ] || fail "installed file" "$prefix/$file" "missing"; done

# play_launcher [VAR=value ...]: the launcher with a fresh HOME, through the high-score table to
# Exit, leaving the directory it was started from empty.
play_launcher() {
    start_game -u XDG_DATA_HOME HOME="$home" "$@"
    wait_for_window
    press Down Down Return Return Down Return
    expect_exit 0 "after the high-score table and Exit"
    [ -z "$(ls -A "$E2E_WORK")" ] || fail "files in the directory the launcher was started from" "none" "$(ls -A "$E2E_WORK")"
}

start_xvfb
xdg=$E2E_TMP/xdg/starshards player=$home/.local/share/starshards
play_launcher XDG_DATA_HOME="$E2E_TMP/xdg"
for asset in "$prefix/$data"/*; do
    [ "$(readlink "$xdg/${asset##*/}")" = "$asset" ] || fail "link to ${asset##*/} in $xdg" "$asset" "$(ls -l "$xdg" 2>&1)"
done
defaults='oru::39400 fen::20000 zol::15600 wyr::13500 kha::10000 mip::9500 tzo::8700 lun::5400 vek::5000 qrx::3200'
[ "$(cat "$xdg/highscores.txt")" = "${defaults// /$'\n'}" ] && [ ! -e "$home/.local" ] ||
    fail "high scores in \$XDG_DATA_HOME/starshards, nothing in ~/.local" "the ten defaults" "$(cat "$xdg/highscores.txt"; ls -A "$home")"

# Without XDG_DATA_HOME, in ~/.local: the player's own files kept, a link gone stale renewed.
mkdir -p "$player" && cp "$prefix/$data/life.jpg" "$player/" && ln -s /nonexistent/bullet.jpg "$player/"
printf 'abc::99999\n%s' "$(head -n 9 "$xdg/highscores.txt")" >"$player/highscores.txt"
printf 'level::4\nlives::2\nscore::1234\n' >"$player/save.txt"
cp -p "$player/highscores.txt" "$player/save.txt" "$E2E_TMP/"
kept() { cmp -s "$player/highscores.txt" "$E2E_TMP/highscores.txt" && cmp -s "$player/save.txt" "$E2E_TMP/save.txt"; }
play_launcher
kept && [ ! -L "$player/life.jpg" ] && [ "$(readlink "$player/bullet.jpg")" = "$prefix/$data/bullet.jpg" ] ||
    fail "the player's files" "high scores, saved game, life.jpg kept; bullet.jpg linked anew" "$(ls -l "$player")"

E2E_AT_EXIT=
"${uninstall[@]}" >"$E2E_TMP/install.log" 2>&1 || fail "${uninstall[*]}" "exit status 0" "$(tail -n 5 "$E2E_TMP/install.log")"
# The game's own directories go too, and with them every asset.
for file in "${files[@]}" "$data" libexec/starshards share/doc/starshards; do
    [ ! -e "$prefix/$file" ] || fail "$prefix/$file after uninstalling" "removed" "still there"
done
[ $# -eq 4 ] || [ "$(cd "$prefix" && find . | sort | paste -sd ' ')" = ". ./share ./share/applications ./share/applications/other.desktop" ] ||
    fail "the prefix after uninstalling" "the file there before in its directories alone" "$(cd "$prefix" && find .)"
kept && [ -f "$xdg/highscores.txt" ] ||
    fail "the player's files after uninstalling" "kept as they were" "$(ls -l "$player" "$xdg" 2>&1)"
pass "installed files, the launcher's first and later start, uninstalling keeping the player's files and what was in the prefix before"
