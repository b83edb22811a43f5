#!/usr/bin/env bash
# Serves the browser game from WEB_DIR on 127.0.0.1 at a free port and plays it in headless
# Chromium (tests/web/play.mjs; the ten minutes' bound only tells a hang), its texts compared with
# the Windows build's RENDER_TEXT.exe run by Wine in its build tree's prefix; the server, the
# browser and their files go however the test ends.
#   run.sh WEB_DIR RENDER_TEXT.exe
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$1" "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do (: </dev/tcp/127.0.0.1/"$port") 2>/dev/null && break || sleep 0.1; done
root=$(realpath "$(dirname "$0")/../..") render_text=$(realpath "$2")
timeout 600 node "$root/tests/web/play.mjs" "http://127.0.0.1:$port/" "$work" "$root/assets/emulogic.ttf" \
    "$root/scripts/run-under-wine" "$(dirname "$render_text")/wine" "$render_text"
