#!/usr/bin/env bash
# Instructions per rock drawn, blitted as SDL_image loads the picture and through SurfaceImage as
# the game draws it, counted by callgrind (repeatable, unlike times), on both SDL 1.2 libraries:
#   bash bench/rock-cost.sh [BUILD_DIR]
set -euo pipefail

build=$(realpath "${1:-build}")
draws="$build/bench/starshards-rock-draws"
[ -x "$draws" ] || { echo "not built: $draws" >&2; exit 2; }
compat=$("$(dirname "$0")/../scripts/sdl12-compat-dir")
out=$(mktemp)
trap 'rm -f "$out"' EXIT
cd "$(dirname "$0")/../assets"

# The instructions of one function's calls, over the 3 pictures times 100 draws of a run.
per_draw() {
    LD_LIBRARY_PATH=$1 SDL_VIDEODRIVER=dummy valgrind --tool=callgrind --callgrind-out-file="$out" \
        --collect-atstart=no "--toggle-collect=*$3*" "$draws" "$2" 2>&1 |
        awk '/Collected :/ { printf "%d", $4 / 300 }'
}

printf '%-8s %-7s %10s %13s\n' library size "as loaded" "SurfaceImage"
for library in classic compat; do
    path=""
    [ "$library" = compat ] && path=$compat
    for size in large medium small; do
        printf '%-8s %-7s %10s %13s\n' "$library" "$size" "$(per_draw "$path" "$size" DrawAsLoaded)" \
            "$(per_draw "$path" "$size" DrawThroughSurfaceImage)"
    done
done
