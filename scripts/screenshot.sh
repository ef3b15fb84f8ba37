#!/usr/bin/env bash
# Makes docs/status-window.png: the real status window of KANTRELL.exe under Wine, inside a Wine
# virtual desktop (so the caption is drawn as Windows draws it) on a private Xvfb display.
#   scripts/screenshot.sh [WORDS...]     default words: on off ON 0 s
set -euo pipefail
cd "$(dirname "$0")/.."

words=("$@")
[ ${#words[@]} -gt 0 ] || words=(on off ON 0 s)

source scripts/wine-session.sh
wine_session KANTRELL build/windows/screenshot "${KANTRELL_SCREENSHOT_DISPLAY:-:74}"

wine_run explorer /desktop=kantrell,400x240 build/windows/bin/KANTRELL.exe "${words[@]}" &
session=$!
sleep "${KANTRELL_SCREENSHOT_DELAY:-3}"
# The virtual desktop sits at the top left of the X screen.
DISPLAY="$KANTRELL_WINE_DISPLAY" import -window root -crop 400x240+0+0 +repage docs/status-window.png
wait "$session" || true
echo "wrote docs/status-window.png"
