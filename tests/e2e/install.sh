#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix, then the `starshards` launcher
# started from an unrelated directory, as a player with a fresh home, goes through the title menu
# to the high-score table and out through Exit. The player's own directory gets the high scores
# and links to the assets; later starts keep the player's files, and uninstalling leaves them.
#   install.sh STARSHARDS ASSET_DIR CLOSE_HELPER WATCH_HELPER BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
build=$(realpath "$5")
dist=$(realpath "$(dirname "$0")/../../dist")
e2e_init "${@:1:4}"
start_xvfb

prefix=$E2E_TMP/prefix home=$E2E_TMP/home elsewhere=$E2E_TMP/elsewhere
mkdir -p "$home" "$elsewhere"
# start_game runs the launcher in a directory that has nothing of the game's.
E2E_GAME=$prefix/bin/starshards E2E_WORK=$elsewhere

# Installing rewrites the build's manifest; keep the one of a real `make install` for uninstall.
manifest=$build/install_manifest.txt
[ ! -f "$manifest" ] || cp -p "$manifest" "$E2E_TMP/kept-manifest"
status=0
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 || status=$?
mv "$manifest" "$E2E_TMP/manifest" 2>/dev/null || true
[ ! -f "$E2E_TMP/kept-manifest" ] || mv "$E2E_TMP/kept-manifest" "$manifest"
[ "$status" -eq 0 ] || fail "cmake --install into $prefix" "exit status 0" "$status: $(tail -n 5 "$E2E_TMP/install.log")"
for file in bin/starshards libexec/starshards/starshards share/starshards/emulogic.ttf \
    share/doc/starshards/emulogic-OFL.txt share/applications/io.github.starshards.starshards.desktop \
    share/metainfo/io.github.starshards.starshards.metainfo.xml share/man/man6/starshards.6 \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/starshards.png; do
    [ -f "$prefix/$file" ] || fail "installed file" "$prefix/$file" "missing"
done
pass "program, launcher, assets, licence, menu entry, AppStream data, man page and icons are installed"

play_launcher "$home"
data=$home/.local/share/starshards
check_player_dir "$data" "$prefix/share/starshards"
check_default_high_scores "$data/highscores.txt"
pass "first start from elsewhere: ~/.local/share/starshards with the default high scores and asset links"

# The player's own files survive a second start: a high-score table, a saved game and a picture;
# a link left by an installation that has since moved is renewed.
printf 'abc::99999\n%s' "$(head -n 9 "$data/highscores.txt")" >"$data/highscores.txt"
printf 'level::4\nlives::2\nscore::1234\n' >"$data/save.txt"
rm "$data/life.jpg" && cp "$prefix/share/starshards/life.jpg" "$data/life.jpg"
ln -sfn /nonexistent/bullet.jpg "$data/bullet.jpg"
cp -p "$data/highscores.txt" "$data/save.txt" "$E2E_TMP/"
play_launcher "$home"
cmp -s "$data/highscores.txt" "$E2E_TMP/highscores.txt" || fail "high scores after a second start" "abc::99999 first" "$(paste -sd ' ' "$data/highscores.txt")"
cmp -s "$data/save.txt" "$E2E_TMP/save.txt" || fail "saved game after a second start" "unchanged" "$(paste -sd ' ' "$data/save.txt")"
[ ! -L "$data/life.jpg" ] || fail "the player's own life.jpg" "kept as a regular file" "$(ls -l "$data/life.jpg")"
[ "$(readlink "$data/bullet.jpg")" = "$prefix/share/starshards/bullet.jpg" ] ||
    fail "a stale link to bullet.jpg" "renewed to the installed one" "$(ls -l "$data/bullet.jpg")"
pass "second start keeps the player's high scores, saved game and files, and renews a stale link"

play_launcher "$home" XDG_DATA_HOME="$E2E_TMP/xdg"
check_player_dir "$E2E_TMP/xdg/starshards" "$prefix/share/starshards"
cmp -s "$data/highscores.txt" "$E2E_TMP/highscores.txt" || fail "high scores in ~/.local/share with XDG_DATA_HOME set" "untouched" "changed"
pass "with XDG_DATA_HOME set the player's directory is \$XDG_DATA_HOME/starshards"

sh "$dist/uninstall.sh" "$E2E_TMP/manifest" >/dev/null
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "files left in the prefix after uninstall" "none" "$(paste -sd ' ' <<<"$left")"
for dir in share/starshards libexec/starshards share/doc/starshards; do
    [ ! -e "$prefix/$dir" ] || fail "directory after uninstall" "$prefix/$dir removed" "still there"
done
for file in "$data/highscores.txt" "$data/save.txt" "$E2E_TMP/xdg/starshards/highscores.txt"; do
    [ -f "$file" ] || fail "player's file after uninstall" "$file kept" "missing"
done
pass "uninstall removes the installed files and directories and keeps the player's files"
