#!/usr/bin/env bash
# Starts and stops a private Xvfb for the X11 tests, the Wine runner and the Linux benchmark.
#
#   xvfb-display.sh STATE_DIR DISPLAY --start    start Xvfb on DISPLAY (e.g. :82) unless it runs
#   xvfb-display.sh STATE_DIR DISPLAY --stop     stop the Xvfb started here
#
# -noreset: without it the server resets whenever its last client disconnects, and forgets the
# lock states the tests set.
set -euo pipefail
state=$(mkdir -p "$1" && cd "$1" && pwd)
display=$2

source "$(dirname "$0")/process-alive.sh"

up() { xset -display "$display" q >/dev/null 2>&1; }

case "${3:-}" in
  --start)
    # A server of ours still going away must be gone before the display number is used again.
    if [ -f "$state/xvfb.stopping" ]; then
      for _ in $(seq 100); do alive "$state/xvfb.stopping" || break; sleep 0.05; done
      rm -f "$state/xvfb.stopping"
    fi
    if ! up; then
      setsid Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp \
        >"$state/xvfb.log" 2>&1 </dev/null &
      echo $! >"$state/xvfb.pid"
      for _ in $(seq 100); do up && break; sleep 0.1; done
      up || { echo "Xvfb did not come up on $display" >&2; cat "$state/xvfb.log" >&2; exit 1; }
    fi
    ;;
  --stop)
    if [ -f "$state/xvfb.pid" ]; then
      # Xvfb takes a second or two to go; the next start waits for it rather than this stop.
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      mv "$state/xvfb.pid" "$state/xvfb.stopping"
    fi
    ;;
  *)
    echo "usage: $0 STATE_DIR DISPLAY --start|--stop" >&2
    exit 2
    ;;
esac
