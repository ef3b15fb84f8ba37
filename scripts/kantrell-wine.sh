#!/usr/bin/env bash
# Builds KANTRELL.exe and runs it under Wine with the given words, e.g.
#   scripts/kantrell-wine.sh ON OFF OFF 3 s
# then tells what it did, as seen from outside: the lock keys it pressed and when, whether its
# status window showed, where and for how long, and its exit code; with the status word it also
# saves a picture of the window under build/windows/demo/. The program itself stays silent.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/wine-session.sh
wine_session kantrell_watch build/windows/wine "${KANTRELL_WINE_DISPLAY:-:73}"
demo=build/windows/demo
mkdir -p "$demo"
rm -f "$demo/status-window.bmp" "$demo/status-window.png"

status=0
wine_run build/windows/bin/kantrell_watch.exe --picture "$demo/status-window.bmp" "$@" |
  tr -d '\r' || status=$?
if [ -f "$demo/status-window.bmp" ]; then
  convert "$demo/status-window.bmp" "$demo/status-window.png"
  rm -f "$demo/status-window.bmp"
  echo "  picture: $(pwd)/$demo/status-window.png"
fi
exit "$status"
