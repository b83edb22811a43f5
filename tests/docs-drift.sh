#!/usr/bin/env bash
# Fails when the documents drift from the code: a file of src/ that docs/DESIGN.md does not name, a
# key the game handles that the README's key table leaves out, a `make` target the documents name
# that the Makefile does not have.
#   docs-drift.sh SOURCE_DIR
set -u
cd "$1" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for file in src/*; do
    stem=$(basename "${file%.*}")
    grep -qE "\`$stem(\.(h|cpp))?\`" docs/DESIGN.md || fail "docs/DESIGN.md does not name $file"
done

# The README's name of each key symbol the sources handle.
declare -A label=([UP]=Up [DOWN]=Down [LEFT]=Left [RIGHT]=Right [RETURN]=Return [ESCAPE]=Escape
    [SPACE]=Space [BACKSPACE]=Backspace [F11]=F11 [a]="a to z" [z]="a to z")
table=$(grep '^|' README.md)
for key in $(grep -ohE 'SDLK_[A-Za-z0-9_]+' src/*.cpp | sort -u); do
    name=${label[${key#SDLK_}]:-}
    [ -n "$name" ] || { fail "$key is handled, but has no name here to look for in the README"; continue; }
    grep -qF "$name" <<<"$table" || fail "the README's key table leaves out $name ($key)"
done

targets=$(grep -oE '^[a-z][a-z0-9-]*:' Makefile | tr -d :)
named=$(cat README.md docs/*.md | grep -oE '(`|^)make [a-z][a-z0-9-]*' | awk '{print $2}' | sort -u)
for target in $named; do
    grep -qx "$target" <<<"$targets" || fail "the documents name 'make $target', which the Makefile does not have"
done

[ "$failures" -eq 0 ] && echo "PASS: every src file in docs/DESIGN.md, every key in the README, every make target real"
exit $((failures > 0))
