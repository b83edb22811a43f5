#!/bin/sh
# Removes what `cmake --install` put in place, exactly the files its manifest lists, then the
# directories it lists (those the install made) and the game's own directories (named starshards),
# each once it is empty: a directory that holds anything else stays. The players' high scores and
# saved games are never in the manifest, so they stay. The manifest leaves out $DESTDIR.
#   [DESTDIR=...] sh dist/uninstall.sh BUILD_DIR/install_manifest.txt
set -eu
manifest=${1:?usage: uninstall.sh INSTALL_MANIFEST}
[ -f "$manifest" ] || { echo "uninstall: no $manifest: nothing was installed from this build" >&2; exit 1; }

remove_if_empty() { ! rmdir -- "$1" 2>/dev/null || echo "-- Removing: $1/"; }

# The manifest's last line has no line end.
while IFS= read -r file || [ -n "$file" ]; do
    case $file in '' | */) continue ;; esac
    file=${DESTDIR-}$file
    if [ -e "$file" ] || [ -L "$file" ]; then
        echo "-- Removing: $file"
        rm -f -- "$file"
    fi
    case ${file%/*} in
    */starshards) remove_if_empty "${file%/*}" ;;
    esac
done <"$manifest"
# Each directory before the one it is in: in reverse order of names, a name comes before its start.
grep '/$' "$manifest" | sort -r | while IFS= read -r dir; do
    remove_if_empty "${DESTDIR-}${dir%/}"
done
