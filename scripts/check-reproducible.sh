#!/usr/bin/env bash
# Builds the release files of HEAD twice, in two folders with different absolute paths and at two
# different times, and checks that both builds give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(mktemp -d "${TMPDIR:-/tmp}/kantrell-reproducible.XXXXXX")
mkdir -p "$root/a" "$root/second-build-in-a-longer-path"

TMPDIR="$root/a" scripts/release.sh "$root/a/dist" >/dev/null
sleep 2  # a different clock reading
TMPDIR="$root/second-build-in-a-longer-path" scripts/release.sh "$root/b/dist" >/dev/null

if ! cmp -s "$root/a/dist/SHA256SUMS" "$root/b/dist/SHA256SUMS"; then
  echo "two builds of $(git rev-parse --short HEAD) differ (both kept in $root):" >&2
  diff "$root/a/dist/SHA256SUMS" "$root/b/dist/SHA256SUMS" >&2 || true
  exit 1
fi
echo "two builds of $(git rev-parse --short HEAD) are byte-identical:"
cat "$root/a/dist/SHA256SUMS"
rm -rf "$root"
