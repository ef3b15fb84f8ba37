#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix and an X display of its own: for the tests (as
# the cross build's emulator), the scripts and the benchmark.
#
#   run-under-wine.sh STATE_DIR --start [ANCHOR.exe]   make the prefix, start Xvfb, the wineserver
#                                                      and the anchor that keeps the session warm
#   run-under-wine.sh STATE_DIR PROGRAM.exe [ARGS...]  run PROGRAM (started on demand)
#   run-under-wine.sh STATE_DIR --stop                 stop everything started here
#
# The prefix shows every window inside a Wine virtual desktop, as Windows draws them: bare Xvfb
# has no window manager, and Wine would otherwise wait two seconds for one whenever a window
# goes away. KANTRELL_WINE_DISPLAY chooses the X display (default :73), which xvfb-display.sh
# serves; a display already served by someone else is used as it is and never stopped.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 STATE_DIR PROGRAM.exe [ARGS...] | --start [ANCHOR.exe] | --stop" >&2
  exit 2
fi
state=$(mkdir -p "$1" && cd "$1" && pwd)
shift

export WINEPREFIX="$state/prefix"
export WINEARCH=win64
# Quiet, but for errors: a program that fails to start says why instead of vanishing silently.
export WINEDEBUG=-all,err+all
export HOME="${HOME:-$state}"  # Wine wants a home; CI may start without one
export DISPLAY="${KANTRELL_WINE_DISPLAY:-:73}"

scripts=$(cd "$(dirname "$0")" && pwd)
source "$scripts/process-alive.sh"

start() {
  local anchor=${1:-}
  exec 9>"$state/lock"
  flock 9
  # Started already, and its anchor (so its wineserver) still alive: nothing to do.
  if [ -f "$state/ready" ] && alive "$state/anchor.pid"; then
    exec 9>&-
    return
  fi
  "$scripts/xvfb-display.sh" "$state" "$DISPLAY" --start 9>&-
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$state/wineboot.log" 2>&1 9>&- || true
    wineserver -w 9>&-
  fi
  if ! grep -q '^\[Software\\\\Wine\\\\Explorer\\\\Desktops\]' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f \
      >/dev/null 2>&1 9>&-
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
      >/dev/null 2>&1 9>&-
    wineserver -w 9>&-
  fi
  # One persistent server for the whole run, started in the foreground: it returns once its
  # socket is bound (0), or at once when one runs already (2). Never a second one per program.
  wineserver -p >/dev/null 2>&1 </dev/null 9>&- || [ $? -eq 2 ]
  if [ -n "$anchor" ]; then
    if ! alive "$state/anchor.pid"; then
      setsid wine "$anchor" >/dev/null 2>&1 </dev/null 9>&- &
      echo $! >"$state/anchor.pid"
    fi
    touch "$state/ready"
  fi
  exec 9>&-
}

stop() {
  wineserver -k >/dev/null 2>&1 || true
  rm -f "$state/ready" "$state/anchor.pid"
  "$scripts/xvfb-display.sh" "$state" "$DISPLAY" --stop
}

case "${1:-}" in
  --start) start "${2:-}" ;;
  --stop) stop ;;
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
    [ "$status" -eq 0 ] || echo "run-under-wine.sh: $1 exited with status $status" >&2
    exit "$status"
    ;;
esac
