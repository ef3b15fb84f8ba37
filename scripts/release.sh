#!/usr/bin/env bash
# Builds the release files of the committed tree (HEAD) and writes them with their checksums:
#   dist/KANTRELL-<version>-win64.zip   KANTRELL.exe, README.md, LICENSE, CHANGELOG.md
#   dist/kantrell_<version>_amd64.deb   the Linux program, its man page, README and copyright
#   dist/SHA256SUMS                     for `sha256sum -c SHA256SUMS`
#
#   scripts/release.sh [DIST_DIR]       (default dist/)
#
# The same commit gives the same bytes, wherever and whenever it is built: the sources come from
# `git archive` into a fresh folder, every time stamp is the commit's (SOURCE_DATE_EPOCH), the
# build paths are mapped away, and the archives list their files in a fixed order.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(mkdir -p "${1:-dist}" && cd "${1:-dist}" && pwd)
# The version of the commit being built, from the one place it is written.
version=$(git show HEAD:CMakeLists.txt | sed -n 's/^project(KANTRELL VERSION \([0-9.]*\).*/\1/p')
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH
export TZ=UTC LC_ALL=C
umask 022
work=$(mktemp -d "${TMPDIR:-/tmp}/kantrell-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
git archive --format=tar HEAD | tar -x -C "$work"

# Quiet when all goes well; the whole log when something fails.
if ! (
  cd "$work"
  cmake --preset windows -DKANTRELL_TESTS=OFF
  cmake --build --preset windows --target KANTRELL
  cmake --preset linux -DKANTRELL_TESTS=OFF
  cmake --build --preset linux
  cd build/linux
  cpack -G DEB
) >"$work.log" 2>&1; then
  cat "$work.log" >&2
  rm -f "$work.log"
  exit 1
fi
rm -f "$work.log"

rm -f "$dist"/KANTRELL-*-win64.zip "$dist"/kantrell_*_amd64.deb "$dist/SHA256SUMS"
zip=KANTRELL-$version-win64.zip
stage="$work/stage"
mkdir -p "$stage"
cp "$work/build/windows/bin/KANTRELL.exe" "$work/README.md" "$work/LICENSE" "$work/CHANGELOG.md" \
  "$stage/"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
# -X: no extra fields (owners, Unix times); -D: no folder entries; the names in a fixed order.
(cd "$stage" && zip -X -D -9 -q "$dist/$zip" KANTRELL.exe README.md LICENSE CHANGELOG.md)
cp "$work"/build/linux/kantrell_"$version"_amd64.deb "$dist/"

cd "$dist"
sha256sum "$zip" "kantrell_${version}_amd64.deb" >SHA256SUMS
sha256sum -c --quiet SHA256SUMS
echo "release $version of $(git -C "$OLDPWD" rev-parse --short HEAD) in $dist:"
cat SHA256SUMS
