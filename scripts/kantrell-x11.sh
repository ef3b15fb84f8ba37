#!/usr/bin/env bash
# Builds kantrell for Linux and runs it with the given words on a private X server, e.g.
#   scripts/kantrell-x11.sh on off off 3 s
# and tells what the server reports before and after: the three lock states, and, with the status
# word, where the window showed, for how long, and a picture of it.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset linux >/dev/null
cmake --build --preset linux --target kantrell >/dev/null
display=${KANTRELL_DEMO_DISPLAY:-:77}
state=build/linux/demo
scripts/xvfb-display.sh "$state" "$display" --start
trap 'scripts/xvfb-display.sh "$state" "$display" --stop' EXIT
export DISPLAY=$display

locks() {
  xset q | grep -o '\(Caps\|Num\|Scroll\) Lock: *o[nf]*' | sed 's/: */ /' | paste -sd, - |
    sed 's/,/, /g'
}
ms() { echo $(( $(date +%s%N) / 1000000 )); }

echo "before: $(locks)"
start=$(ms)
build/linux/bin/kantrell "$@" &
pid=$!
window=""
shown=""
while kill -0 "$pid" 2>/dev/null; do
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Statusmeldung: Kantrell V/ {print $1; exit}' ||
    true)
  if [ -n "$id" ] && [ -z "$shown" ]; then
    shown=$(($(ms) - start))
    window=$id
    geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ \
      {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w "x" h " at (" x "," y ")"}' || true)
    sleep 0.5
    import -window "$id" "$state/status-window.png" || true
  fi
  if [ -n "$shown" ] && [ -z "$id" ] && [ -z "${gone:-}" ]; then gone=$(($(ms) - start)); fi
  sleep 0.02
done
status=0
wait "$pid" || status=$?
end=$(($(ms) - start))
echo "after:  $(locks)"
if [ -n "$window" ]; then
  screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')
  echo "status window: shown ${shown} ms after the start, ${geometry} on a ${screen} screen," \
       "for $(( ${gone:-$end} - shown )) ms"
  echo "picture: $(pwd)/$state/status-window.png"
else
  echo "status window: none"
fi
echo "kantrell exited with code $status after $end ms"
exit "$status"
