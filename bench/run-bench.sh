#!/usr/bin/env bash
# Runs the benchmark against a private Xvfb, so frames are pushed to a real X server; the Windows
# build under Wine when BENCH_WINEPREFIX is set (bench/wine.sh). Builds nothing:
#   bash bench/run-bench.sh STARSHARDS_BENCH OUTPUT_JSON [BENCH_OPTIONS...]
# The table goes to stdout, the figures to OUTPUT_JSON. Xvfb is stopped however the run ends.

# e2e_begin (a temp dir, stopped and removed at exit) and start_xvfb (a free display as DISPLAY)
# shellcheck source=../tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"
# shellcheck source=wine.sh
source "$(dirname "$0")/wine.sh"

if [ $# -lt 2 ]; then
    echo "usage: $0 STARSHARDS_BENCH OUTPUT_JSON [BENCH_OPTIONS...]" >&2
    exit 2
fi
bench=$(realpath "$1")
json=$2
shift 2
[ -x "$bench" ] || { echo "not an executable: $bench" >&2; exit 2; }

e2e_begin
start_xvfb
use_wine
${WINE:+"$WINE"} "$bench" --json "$json" "$@"
