#!/usr/bin/env python3
"""Prints the benchmark figures of the two SDL 1.2 libraries side by side, as the README shows them.

    python3 bench/side-by-side.py build/bench.json build/bench-compat.json
"""
import json
import sys


def cell(value, decimals=1):
    if value is None:
        return "-"
    return f"{value:.0f}" if value >= 1000 and decimals == 1 else f"{value:.{decimals}f}"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1]) as classic_file, open(sys.argv[2]) as compat_file:
        classic, compat = json.load(classic_file), json.load(compat_file)
    print(f"{'':14} {'classic SDL 1.2.15':>28}   {'sdl12-compat':>28}")
    print(f"{'scenario':14} " + "   ".join([f"{'pass p50':>9}{'pass p99':>10}{'speed':>9}"] * 2))
    for name, figures in classic.items():
        if not isinstance(figures, dict) or name not in compat:
            continue
        row = []
        for library in (figures, compat[name]):
            row.append(f"{cell(library['pass_p50_us']):>9}{cell(library['pass_p99_us']):>10}"
                       f"{cell(library['speed'], 3):>9}")
        print(f"{name:14} " + "   ".join(row))
    print(f"{'whole-screen floor':18} p50 {cell(classic['floor_whole_us'])} classic, "
          f"{cell(compat['floor_whole_us'])} sdl12-compat")


if __name__ == "__main__":
    main()
