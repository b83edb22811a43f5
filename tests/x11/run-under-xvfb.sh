#!/bin/bash
# Usage: run-under-xvfb.sh PROGRAM [ARGS...]
# Runs the program with SDL's real X11 driver against a private Xvfb, stopped again at exit.
# shellcheck source=../e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
e2e_begin
start_xvfb
"$@"
