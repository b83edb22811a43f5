#!/bin/sh
# Removes what `cmake --install` put in place, exactly the files its manifest lists, and then the
# game's own directories (named starshards) once they are empty. The players' high scores and
# saved games are never in the manifest, so they stay. The manifest leaves out $DESTDIR.
#   [DESTDIR=...] sh dist/uninstall.sh BUILD_DIR/install_manifest.txt
set -eu
manifest=${1:?usage: uninstall.sh INSTALL_MANIFEST}
[ -f "$manifest" ] || { echo "uninstall: no $manifest: nothing was installed from this build" >&2; exit 1; }

# The manifest's last line has no line end.
while IFS= read -r file || [ -n "$file" ]; do
    [ -n "$file" ] || continue
    file=${DESTDIR-}$file
    if [ -e "$file" ] || [ -L "$file" ]; then
        echo "-- Removing: $file"
        rm -f -- "$file"
    fi
    case ${file%/*} in
    */starshards) rmdir -- "${file%/*}" 2>/dev/null || true ;;
    esac
done <"$manifest"
