#!/usr/bin/env bash
# The layout rules of src/, checked on every file:
#  - portable folders include only themselves and the portable folders before them
#    (core <- toolkit <- status <- app), and no platform header;
#  - Win32 headers only in src/win32/, X11 headers only in src/x11/, Linux kernel interfaces
#    only in src/console/ and src/linux/.
#   check-includes.sh SRC_DIR
set -euo pipefail
src=${1:?usage: $0 SRC_DIR}
cd "$src"
failures=0
fail() { echo "$1: $2" >&2; failures=$((failures + 1)); }

win32_headers='windows|commctrl|mmsystem|psapi|winuser|wingdi|winbase|shellapi|objbase'
for file in $(find . -name '*.h' -o -name '*.cpp' -o -name '*.in' | sort); do
  folder=$(echo "$file" | cut -d/ -f2)
  case "$folder" in
    core) allowed='core' ;;
    toolkit) allowed='core|toolkit' ;;
    status) allowed='core|toolkit|status' ;;
    app) allowed='core|toolkit|status|app' ;;
    *) allowed='' ;;
  esac
  while IFS= read -r line; do
    header=$(echo "$line" | sed -E 's/^#include [<"]([^>"]+)[>"].*/\1/')
    case "$line" in
      *'"'*)
        own=$(echo "$header" | cut -d/ -f1)
        if [ -n "$allowed" ] && ! echo "$own" | grep -Eqx "$allowed"; then
          fail "$file" "portable code includes $header"
        fi
        ;;
      *)
        if echo "$header" | grep -Eiqx "($win32_headers)\.h" && [ "$folder" != win32 ]; then
          fail "$file" "Win32 header $header outside src/win32"
        fi
        if echo "$header" | grep -Eq '^X11/' && [ "$folder" != x11 ]; then
          fail "$file" "X11 header $header outside src/x11"
        fi
        if echo "$header" | grep -Eq '^(linux/|sys/|unistd\.h|fcntl\.h|poll\.h|dlfcn\.h)' &&
          [ -n "$allowed" ]; then
          fail "$file" "platform header $header in portable code"
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
