#!/usr/bin/env bash
# Serves the browser game from WEB_DIR on 127.0.0.1 at a free port and plays it in headless
# Chromium (tests/web/play.mjs; the ten minutes' bound only tells a hang); the server, the browser
# and their files go however the test ends.
#   run.sh WEB_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$1" "$port" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do (: </dev/tcp/127.0.0.1/"$port") 2>/dev/null && break || sleep 0.1; done
timeout 600 node "$(dirname "$0")/play.mjs" "http://127.0.0.1:$port/" "$work/profile"
