#!/usr/bin/env bash
# Runs a Win32 test program in the test prefix with the screen density set to DPI (the
# LogPixels setting Windows and Wine read at a program's start), and restores it afterwards.
#   at-density.sh RUNNER STATE_DIR DPI PROGRAM.exe [ARGS...]
set -euo pipefail
runner=$1 state=$2 dpi=$3
shift 3
key='HKCU\Control Panel\Desktop'
"$runner" "$state" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
trap '"$runner" "$state" reg delete "$key" /v LogPixels /f >/dev/null' EXIT
KANTRELL_EXPECTED_DPI=$dpi "$runner" "$state" "$@"
