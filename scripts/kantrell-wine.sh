#!/usr/bin/env bash
# Builds KANTRELL.exe and runs it under Wine with the given words, e.g.
#   scripts/kantrell-wine.sh ON OFF OFF 3 s
# Without a DISPLAY it runs in a private Xvfb; with the status word the window then only shows
# in that virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows --target KANTRELL >/dev/null
state=build/windows/wine
if [ -n "${DISPLAY:-}" ]; then export KANTRELL_TEST_DISPLAY="$DISPLAY"; fi
status=0
tests/wine/run-under-wine.sh "$state" build/windows/bin/KANTRELL.exe "$@" || status=$?
tests/wine/run-under-wine.sh "$state" --stop
echo "KANTRELL.exe exited with code $status"
exit "$status"
