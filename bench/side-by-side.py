#!/usr/bin/env python3
"""Prints the benchmark figures of the two SDL 1.2 libraries side by side, as docs/PERFORMANCE.md shows them,
and those of the Windows build under Wine and of the browser build in Chromium beside them when given.

    python3 bench/side-by-side.py build/bench.json build/bench-compat.json [build/bench-windows.json
        [build/bench-web.json]]
"""
import json
import sys

LIBRARIES = ("classic SDL 1.2.15", "sdl12-compat", "Windows (Wine)", "browser (Chromium)")
SHORT_NAMES = ("classic", "sdl12-compat", "Windows (Wine)", "browser (Chromium)")


def cell(value, decimals=1):
    if value is None:
        return "-"
    return f"{value:.0f}" if value >= 1000 and decimals == 1 else f"{value:.{decimals}f}"


def key_cell(figures):
    if not figures or not figures.get("count"):
        return "-"
    return f"{figures['median_ms']:.1f}/{figures['p90_ms']:.1f} ({figures['count']})"


def main():
    if len(sys.argv) not in (3, 4, 5):
        sys.exit(__doc__)
    runs = []
    for path in sys.argv[1:]:
        with open(path) as run_file:
            runs.append(json.load(run_file))
    print(f"{'':14} " + "   ".join(f"{library:>28}" for library in LIBRARIES[:len(runs)]))
    print(f"{'scenario':14} " + "   ".join([f"{'pass p50':>9}{'pass p99':>10}{'speed':>9}"] * len(runs)))
    for name, figures in runs[0].items():
        if not isinstance(figures, dict) or "speed" not in figures or any(name not in run for run in runs):
            continue
        row = []
        for library in (run[name] for run in runs):
            row.append(f"{cell(library['pass_p50_us']):>9}{cell(library['pass_p99_us']):>10}"
                       f"{cell(library['speed'], 3):>9}")
        print(f"{name:14} " + "   ".join(row))
    floors = [f"{cell(run['floor_whole_us'])} {library}" for run, library in zip(runs, SHORT_NAMES)]
    print(f"{'whole-screen floor':18} p50 " + ", ".join(floors))
    keys = [f"{key_cell(run.get('key_to_screen'))} {library}" for run, library in zip(runs, SHORT_NAMES)]
    print("key to screen, ms: median/p90 (presses) " + ", ".join(keys))


if __name__ == "__main__":
    main()
