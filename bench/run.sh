#!/usr/bin/env bash
# Builds KANTRELL.exe and the benchmark, runs it under Wine in a private Xvfb and writes
# bench/REPORT.md (figures, the machine they come from, the date).
#   bench/run.sh [RUNS]        default 10 runs of each measurement
# On a fresh Debian machine run scripts/setup-debian.sh first (as root).
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"

source scripts/wine-session.sh
wine_session kantrell_bench build/windows/bench "${KANTRELL_BENCH_DISPLAY:-:75}"
figures=$(wine_run build/windows/bin/kantrell_bench.exe "$runs" | tr -d '\r')

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
{
  echo "# KANTRELL.exe measured"
  echo
  echo "Made by \`bench/run.sh $runs\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "Machine: $(nproc) cores, ${cpu:-unknown processor}, $(free -g | awk '/Mem:/ {print $2}') GiB;" \
       "$(uname -sr); $(wine --version); Xvfb display. Times come from QueryPerformanceCounter in the" \
       "probe, processor time from GetProcessTimes and memory from GetProcessMemoryInfo, as Wine" \
       "reports them."
  echo
  echo "$figures"
  cat bench/NOTES.md
} > bench/REPORT.md.new
mv bench/REPORT.md.new bench/REPORT.md
echo "wrote bench/REPORT.md"
