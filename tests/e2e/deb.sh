#!/usr/bin/env bash
# The Debian package that `make deb` built: installed into this machine with dpkg -i, then
# /usr/games/starshards started from an unrelated directory, as a player with a fresh home, goes
# through the title menu to the high-score table and out through Exit. Removing the package
# leaves the player's files. The package is removed at the end whatever happens, and a lock keeps
# two such tests (from other checkouts too) from installing at the same time.
#   deb.sh STARSHARDS ASSET_DIR CLOSE_HELPER WATCH_HELPER BUILD_DIR VERSION
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
[ "$(id -u)" -eq 0 ] || skip "installing the package with dpkg -i needs root"
command -v dpkg >/dev/null || skip "dpkg is not available"
package=$5/starshards_$6_$(dpkg --print-architecture).deb
[ -f "$package" ] || skip "no package $package: make deb builds it"
e2e_init "${@:1:4}"

exec 9>/tmp/starshards-deb-test.lock
flock -w 200 9 || fail "the package test's lock /tmp/starshards-deb-test.lock" "free within 200s" "still held"
status=$(dpkg-query -W -f='${db:Status-Status}' starshards 2>/dev/null || true)
case $status in
'' | not-installed) ;;
*) skip "a starshards package is $status on this machine; the test would replace it" ;;
esac

remove_package() { dpkg -r starshards >>"$E2E_TMP/dpkg.log" 2>&1 || echo "could not remove starshards: see dpkg -r" >&2; }
E2E_AT_EXIT=remove_package
dpkg -i "$package" >"$E2E_TMP/dpkg.log" 2>&1 || fail "dpkg -i $package" "exit status 0" "$(tail -n 5 "$E2E_TMP/dpkg.log")"
for file in /usr/games/starshards /usr/libexec/starshards/starshards /usr/share/games/starshards/emulogic.ttf \
    /usr/share/doc/starshards/{copyright,emulogic-OFL.txt.gz} /usr/share/man/man6/starshards.6.gz \
    /usr/share/applications/io.github.starshards.starshards.desktop \
    /usr/share/metainfo/io.github.starshards.starshards.metainfo.xml \
    /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/starshards.png; do
    [ -f "$file" ] || fail "file installed by the package" "$file" "missing"
done
pass "dpkg -i installs the command, program, data, licences, man page, menu entry, AppStream data and icons"

start_xvfb
home=$E2E_TMP/home E2E_WORK=$E2E_TMP/elsewhere E2E_GAME=/usr/games/starshards
mkdir -p "$home" "$E2E_WORK"
play_launcher "$home"
data=$home/.local/share/starshards
check_player_dir "$data" /usr/share/games/starshards
check_default_high_scores "$data/highscores.txt"
pass "/usr/games/starshards from elsewhere: ~/.local/share/starshards with the default high scores and asset links"

printf 'level::4\nlives::2\nscore::1234\n' >"$data/save.txt"
cp -p "$data/highscores.txt" "$data/save.txt" "$E2E_TMP/"
dpkg -r starshards >>"$E2E_TMP/dpkg.log" 2>&1 || fail "dpkg -r starshards" "exit status 0" "$(tail -n 5 "$E2E_TMP/dpkg.log")"
[ ! -e /usr/games/starshards ] || fail "/usr/games/starshards after dpkg -r" "removed" "still there"
for file in highscores.txt save.txt; do
    cmp -s "$data/$file" "$E2E_TMP/$file" || fail "the player's $file after dpkg -r" "kept as it was" "$(ls -l "$data/$file" 2>&1)"
done
pass "dpkg -r removes the game and keeps the player's high scores and saved game"
