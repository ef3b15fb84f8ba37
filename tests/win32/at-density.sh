#!/usr/bin/env bash
# Runs a Win32 test program in the test prefix with the screen density set to DPI (the
# LogPixels setting Windows and Wine read at a program's start), and restores it afterwards.
#   at-density.sh RUNNER STATE_DIR DPI PROGRAM.exe [ARGS...]
#   at-density.sh RUNNER STATE_DIR --reset      the system's density again, whatever happened
set -euo pipefail
runner=$1 state=$2
key='HKCU\Control Panel\Desktop'
reset() { "$runner" "$state" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true; }
if [ "$3" = --reset ]; then
  reset
  exit 0
fi
dpi=$3
shift 3
"$runner" "$state" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
trap reset EXIT
KANTRELL_EXPECTED_DPI=$dpi "$runner" "$state" "$@"
