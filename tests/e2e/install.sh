#!/usr/bin/env bash
# The installed game: `cmake --install` of BUILD_DIR into a temporary prefix or, given VERSION,
# the package of `make deb` installed into this machine (a lock keeps such tests apart). Its
# launcher gives a player with a fresh home a directory of their own; uninstalling keeps it.
#   install.sh STARSHARDS ASSET_DIR BUILD_DIR [VERSION]
# shellcheck source=lib.sh disable=SC2034 # lib.sh reads the E2E_ variables set here
source "$(dirname "$0")/lib.sh"
build=$(realpath "$3") dist=$(realpath "$(dirname "$0")/../../dist")
if [ $# -eq 4 ]; then
    [ "$(id -u)" -eq 0 ] || skip "installing the package with dpkg -i needs root"
    command -v dpkg >/dev/null || skip "dpkg is not available"
    package=$build/starshards_$4_$(dpkg --print-architecture).deb
    [ -f "$package" ] || skip "no package $package: make deb builds it"
fi
e2e_init "$1" "$2"
home=$E2E_TMP/home E2E_WORK=$E2E_TMP/elsewhere
mkdir -p "$home" "$E2E_WORK"
files=(libexec/starshards/starshards share/doc/starshards/emulogic-OFL.txt
    share/applications/io.github.starshards.starshards.desktop share/metainfo/io.github.starshards.starshards.metainfo.xml
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/starshards.png)

if [ $# -eq 3 ]; then
    prefix=$E2E_TMP/prefix data=$E2E_TMP/prefix/share/starshards E2E_GAME=$E2E_TMP/prefix/bin/starshards
    files+=(bin/starshards share/starshards/emulogic.ttf share/man/man6/starshards.6)
    # A successful install rewrites the build's manifest: the one of a real `make install` is put back.
    [ ! -f "$build/install_manifest.txt" ] || cp -p "$build/install_manifest.txt" "$E2E_TMP/kept-manifest"
    cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
        fail "cmake --install into $prefix" "exit status 0" "$(tail -n 5 "$E2E_TMP/install.log")"
    mv "$build/install_manifest.txt" "$E2E_TMP/manifest"
    [ ! -f "$E2E_TMP/kept-manifest" ] || mv "$E2E_TMP/kept-manifest" "$build/install_manifest.txt"
else
    prefix=/usr data=/usr/share/games/starshards E2E_GAME=/usr/games/starshards
    files=("${files[@]/%OFL.txt/OFL.txt.gz}" games/starshards share/games/starshards/emulogic.ttf
        share/doc/starshards/copyright share/man/man6/starshards.6.gz)
    exec 9>/tmp/starshards-deb-test.lock
    flock -w 200 9 || fail "the package test's lock /tmp/starshards-deb-test.lock" "free within 200s" "still held"
    status=$(dpkg-query -W -f='${db:Status-Status}' starshards 2>/dev/null || true)
    [[ $status =~ ^(not-installed)?$ ]] || skip "a starshards package is $status on this machine; the test would replace it"
    E2E_AT_EXIT="dpkg -r starshards" # whatever happens
    dpkg -i "$package" >"$E2E_TMP/dpkg.log" 2>&1 || fail "dpkg -i $package" "exit status 0" "$(tail -n 5 "$E2E_TMP/dpkg.log")"
fi
for file in "${files[@]}"; do [ -f "$prefix/$file" ] || fail "installed file" "$prefix/$file" "missing"; done
pass "the command, program, data, licence, man page, menu entry, AppStream data and icons are installed"

# play_launcher [VAR=value ...]: the launcher, started from an unrelated directory with a fresh
# HOME, goes to the high-score table and out through Exit, leaving that directory empty.
play_launcher() {
    start_game -u XDG_DATA_HOME HOME="$home" "$@"
    wait_for_window
    press Down Down Return Return Down Return
    expect_exit 0 "after the high-score table and Exit"
    [ -z "$(ls -A "$E2E_WORK")" ] || fail "files in the directory the launcher was started from" "none" "$(ls -A "$E2E_WORK")"
}
# check_player_dir DIR: the high-score file is there and every installed asset is linked there.
check_player_dir() {
    [ -f "$1/highscores.txt" ] || fail "high-score file in $1" "a regular file" "$(ls -l "$1" 2>&1)"
    for asset in "$data"/*; do
        [ "$(readlink "$1/${asset##*/}")" = "$asset" ] || fail "link to ${asset##*/} in $1" "$asset" "$(ls -l "$1/${asset##*/}" 2>&1)"
    done
}

start_xvfb
xdg=$E2E_TMP/xdg/starshards player=$home/.local/share/starshards
play_launcher XDG_DATA_HOME="$E2E_TMP/xdg"
check_player_dir "$xdg"
defaults='oru::39400 fen::20000 zol::15600 wyr::13500 kha::10000 mip::9500 tzo::8700 lun::5400 vek::5000 qrx::3200'
[ "$(cat "$xdg/highscores.txt")" = "${defaults// /$'\n'}" ] && [ ! -e "$home/.local" ] ||
    fail "high scores in \$XDG_DATA_HOME/starshards, nothing in ~/.local" "the ten defaults" "$(cat "$xdg/highscores.txt"; ls -A "$home")"
pass "first start: \$XDG_DATA_HOME/starshards with the default high scores and asset links"

# Without XDG_DATA_HOME: the player's own high scores, saved game and picture in
# ~/.local/share/starshards are kept, and a link left by an installation since moved is renewed.
mkdir -p "$player" && cp "$data/life.jpg" "$player/" && ln -s /nonexistent/bullet.jpg "$player/"
printf 'abc::99999\n%s' "$(head -n 9 "$xdg/highscores.txt")" >"$player/highscores.txt"
printf 'level::4\nlives::2\nscore::1234\n' >"$player/save.txt"
cp -p "$player/highscores.txt" "$player/save.txt" "$E2E_TMP/"
kept() { cmp -s "$player/highscores.txt" "$E2E_TMP/highscores.txt" && cmp -s "$player/save.txt" "$E2E_TMP/save.txt"; }
play_launcher
kept && [ ! -L "$player/life.jpg" ] && [ "$(readlink "$player/bullet.jpg")" = "$data/bullet.jpg" ] ||
    fail "the player's files" "high scores, saved game, life.jpg kept; bullet.jpg linked anew" "$(ls -l "$player")"
pass "a later start keeps the player's files and renews a stale link"

if [ $# -eq 3 ]; then
    sh "$dist/uninstall.sh" "$E2E_TMP/manifest" >/dev/null
    left=$(find "$prefix" -type f -o -type l)
    [ -z "$left" ] || fail "files left in the prefix after uninstall" "none" "$left"
    for dir in share/starshards libexec/starshards share/doc/starshards; do
        [ ! -e "$prefix/$dir" ] || fail "directory after uninstall" "$prefix/$dir removed" "still there"
    done
else
    E2E_AT_EXIT=
    dpkg -r starshards >>"$E2E_TMP/dpkg.log" 2>&1 || fail "dpkg -r starshards" "exit status 0" "$(tail -n 5 "$E2E_TMP/dpkg.log")"
    for file in "${files[@]}"; do [ ! -e "$prefix/$file" ] || fail "$prefix/$file after dpkg -r" "removed" "still there"; done
fi
kept && [ -f "$xdg/highscores.txt" ] ||
    fail "the player's files after uninstalling" "kept as they were" "$(ls -l "$player" "$xdg" 2>&1)"
pass "uninstalling removes what was installed and keeps the player's files"
