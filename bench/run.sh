#!/usr/bin/env bash
# Builds both programs and their benchmarks, runs them (KANTRELL.exe under Wine in a private Xvfb,
# kantrell natively against another private Xvfb) and writes bench/REPORT.md: the figures, the
# machine they come from, the date.
#   bench/run.sh [RUNS]        default 20 runs (or pairs) of each measurement
# On a fresh Debian machine run scripts/setup-debian.sh first (as root).
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"

# Linux first, on its own X server.
cmake --preset linux >/dev/null
cmake --build --preset linux --target kantrell kantrell_linux_bench kantrell_drawing_linked \
  >/dev/null
linux_display=${KANTRELL_BENCH_LINUX_DISPLAY:-:76}
scripts/xvfb-display.sh build/linux/bench "$linux_display" --start
linux_figures=$(DISPLAY=$linux_display build/linux/bin/kantrell_linux_bench \
  build/linux/bin/kantrell build/linux/bin/kantrell_drawing_linked "$runs")
scripts/xvfb-display.sh build/linux/bench "$linux_display" --stop

source scripts/wine-session.sh
wine_session kantrell_bench build/windows/bench "${KANTRELL_BENCH_DISPLAY:-:75}"
figures=$(wine_run build/windows/bin/kantrell_bench.exe "$runs" | tr -d '\r')

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
{
  echo "# KANTRELL.exe and kantrell measured"
  echo
  echo "Made by \`bench/run.sh $runs\` on $(date -u '+%Y-%m-%d %H:%M UTC'), both sections in the" \
       "same run on the same machine."
  echo
  echo "Machine: $(nproc) cores, ${cpu:-unknown processor}, $(free -g | awk '/Mem:/ {print $2}') GiB;" \
       "$(uname -sr); $(wine --version); Xvfb $(dpkg-query -W -f='${Version}' xvfb)."
  echo
  echo "## KANTRELL.exe under Wine"
  echo
  echo "Times come from QueryPerformanceCounter in the probe, processor time from GetProcessTimes" \
       "and memory from GetProcessMemoryInfo, as Wine reports them."
  echo
  echo "$figures" | sed 's/^## /### /'
  sed 's/^## /### /' bench/NOTES.md
  echo
  echo "## kantrell on X11"
  echo
  echo "Wall time from the monotonic clock around fork and wait4, processor time and peak memory" \
       "from wait4's resource usage; the peers are Debian's numlockx" \
       "$(dpkg-query -W -f='${Version}' numlockx) and xdotool $(dpkg-query -W -f='${Version}' xdotool)."
  echo
  echo "$linux_figures"
  sed 's/^## /### /' bench/NOTES-linux.md
} > bench/REPORT.md.new
mv bench/REPORT.md.new bench/REPORT.md
echo "wrote bench/REPORT.md"
