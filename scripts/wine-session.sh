# Sourced by the scripts that run programs under Wine outside the tests.
#   wine_session TARGET STATE_DIR DISPLAY   build TARGET, start Xvfb and a warm Wine session,
#                                           stop them on exit
#   wine_run PROGRAM.exe [ARGS...]           run a program in that session
wine_runner=scripts/run-under-wine.sh

wine_session() {
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target "$1" wine_anchor >/dev/null
  wine_state=$2
  export KANTRELL_WINE_DISPLAY="$3"
  "$wine_runner" "$wine_state" --start build/windows/bin/wine_anchor.exe
  trap '"$wine_runner" "$wine_state" --stop' EXIT
}

wine_run() { "$wine_runner" "$wine_state" "$@"; }
