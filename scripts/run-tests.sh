#!/usr/bin/env bash
# Builds and runs every test: the portable core on the host, the command-line fuzzer (about a
# minute), kantrell for Linux against a private Xvfb with its Debian package, and KANTRELL.exe with
# its Win32 and end-to-end tests under Wine in Xvfb; then checks that two release builds of the
# committed tree are byte-identical (under a minute).
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in host fuzz linux windows; do
  echo "=== $preset ==="
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

echo "=== reproducible release ==="
scripts/check-reproducible.sh
