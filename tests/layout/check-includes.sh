#!/usr/bin/env bash
# The layout rules of src/, checked on every file:
#  - the portable folders include only themselves and the portable folders before them
#    (core <- toolkit <- status <- app), and no system header of any platform;
#  - each platform folder (win32, x11, console) includes the portable folders and itself only;
#    linux, which holds the Linux main, may include every folder but win32; nothing includes linux;
#  - Windows headers only in src/win32/, X11 headers only in src/x11/, and POSIX and Linux kernel
#    headers never in the portable folders nor in src/win32/.
#   check-includes.sh SRC_DIR
set -euo pipefail
src=${1:?usage: $0 SRC_DIR}
cd "$src"
failures=0
fail() { echo "$1: $2" >&2; failures=$((failures + 1)); }

portable='core|toolkit|status|app'
win32_headers='windows|commctrl|mmsystem|psapi|winuser|wingdi|winbase|shellapi|objbase'
posix_headers='linux/.*|sys/.*|unistd\.h|fcntl\.h|poll\.h|dlfcn\.h|limits\.h|termios\.h'
for file in $(find . -name '*.h' -o -name '*.cpp' -o -name '*.in' | sort); do
  folder=$(echo "$file" | cut -d/ -f2)
  case "$folder" in
    core) allowed='core' ;;
    toolkit) allowed='core|toolkit' ;;
    status) allowed='core|toolkit|status' ;;
    app) allowed="$portable" ;;
    win32 | x11 | console) allowed="$portable|$folder" ;;
    linux) allowed="$portable|x11|console|linux" ;;
    *) allowed='' ;;
  esac
  portable_file=false
  echo "$folder" | grep -Eqx "$portable" && portable_file=true
  while IFS= read -r line; do
    header=$(echo "$line" | sed -E 's/^#include [<"]([^>"]+)[>"].*/\1/')
    case "$line" in
      *'"'*)
        own=$(echo "$header" | cut -d/ -f1)
        if ! echo "$own" | grep -Eqx "$allowed"; then
          fail "$file" "includes $header"
        fi
        ;;
      *)
        if echo "$header" | grep -Eiqx "($win32_headers)\.h" && [ "$folder" != win32 ]; then
          fail "$file" "Windows header $header outside src/win32"
        fi
        if echo "$header" | grep -Eq '^X11/' && [ "$folder" != x11 ]; then
          fail "$file" "X11 header $header outside src/x11"
        fi
        if echo "$header" | grep -Eqx "$posix_headers" &&
          { $portable_file || [ "$folder" = win32 ]; }; then
          fail "$file" "POSIX or Linux header $header in $folder"
        fi
        ;;
    esac
  done < <(grep -E '^#include [<"]' "$file" || true)
done

if [ "$failures" -gt 0 ]; then
  echo "$failures layout rule(s) broken" >&2
  exit 1
fi
echo "layout rules hold for $(find . -name '*.h' -o -name '*.cpp' | wc -l) files"
