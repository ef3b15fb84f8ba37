#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix and an X display of its own: for the tests (as
# the cross build's emulator), the scripts and the benchmark.
#
#   run-under-wine.sh STATE_DIR PROGRAM.exe [ARGS...]   run PROGRAM (prefix and display made on demand)
#   run-under-wine.sh STATE_DIR --start                  make the prefix, start Xvfb and wineserver
#   run-under-wine.sh STATE_DIR --stop                   stop the wineserver and the Xvfb started here
#
# KANTRELL_WINE_DISPLAY chooses the display number (default :73); a display already served by
# someone else is used as it is and never stopped.
set -euo pipefail

state=$(mkdir -p "$1" && cd "$1" && pwd)
shift

export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export HOME="${HOME:-$state}"  # Wine wants a home; CI may start without one
export DISPLAY="${KANTRELL_WINE_DISPLAY:-:73}"

display_up() { xset -display "$DISPLAY" q >/dev/null 2>&1; }

start() {
  exec 9>"$state/lock"
  flock 9
  if ! display_up; then
    # -noreset: without it the server forgets its state whenever its last client leaves.
    setsid Xvfb "$DISPLAY" -screen 0 1024x768x24 -noreset -nolisten tcp \
      >"$state/xvfb.log" 2>&1 </dev/null 9>&- &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do display_up && break; sleep 0.1; done
    display_up || { echo "Xvfb did not come up on $DISPLAY" >&2; cat "$state/xvfb.log" >&2; exit 1; }
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$state/wineboot.log" 2>&1 9>&- || true
    wineserver -w 9>&-
  fi
  # One persistent server for the whole test run saves Wine's start-up for every test.
  setsid wineserver -p >/dev/null 2>&1 </dev/null 9>&- &
  exec 9>&-
}

stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
  fi
}

case "${1:-}" in
  --start) start ;;
  --stop) stop ;;
  "") echo "usage: $0 STATE_DIR PROGRAM.exe [ARGS...] | --start | --stop" >&2; exit 2 ;;
  *)
    start
    # Wine's helper processes (services, explorer, the desktop) outlive the program and would
    # hold its output pipe open, so that the caller never sees the end: give them a file instead.
    output=$(mktemp "$state/output.XXXXXX")
    # Wine writes its debug channels to the standard error it was started with, also for the
    # processes a program starts: tests that read them find them here.
    export KANTRELL_WINE_OUTPUT="$output"
    status=0
    wine "$@" >"$output" 2>&1 </dev/null || status=$?
    cat "$output"
    rm -f "$output"
    exit "$status"
    ;;
esac
