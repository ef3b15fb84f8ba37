#!/usr/bin/env bash
# Builds KANTRELL.exe and runs it under Wine with the given words, e.g.
#   scripts/kantrell-wine.sh ON OFF OFF 3 s
# Without a DISPLAY it runs in a private Xvfb; with the status word the window then only shows
# in that virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/wine-session.sh
wine_session KANTRELL build/windows/wine "${DISPLAY:-:73}"
status=0
wine_run build/windows/bin/KANTRELL.exe "$@" || status=$?
echo "KANTRELL.exe exited with code $status"
exit "$status"
