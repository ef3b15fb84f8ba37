#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack, its contents and fields as dpkg reads
# them, and the binary extracted from it setting the keys on the test X server.
#   package-test.sh BUILD_DIR      (DISPLAY names the test X server)
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/out/kantrell_*_amd64.deb)

fail() { echo "package: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/kantrell ./usr/share/man/man1/kantrell.1.gz \
            ./usr/lib/kantrell/x11-drawing.so ./usr/share/doc/kantrell/README.md \
            ./usr/share/doc/kantrell/copyright ./usr/share/doc/kantrell/changelog.gz; do
  grep -qx "$path" <<<"$contents" || fail "no $path in the package"
done

[ "$(dpkg-deb -f "$deb" Package)" = kantrell ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libx11-6 libxtst6 libxft2 libxrandr2; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/root"
# The man page renders without a warning, with the sections a user looks for.
zcat "$work/root/usr/share/man/man1/kantrell.1.gz" >"$work/kantrell.1"
groff -man -ww -z "$work/kantrell.1" 2>"$work/groff.log" && [ ! -s "$work/groff.log" ] ||
  { cat "$work/groff.log" >&2; fail "man page warnings"; }
for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" ENVIRONMENT "KNOWN LIMITS" EXAMPLES; do
  grep -q "^\.SH \"\?$section" "$work/kantrell.1" || fail "man page lacks $section"
done

kantrell="$work/root/usr/bin/kantrell"
unset WAYLAND_DISPLAY XDG_SESSION_TYPE  # the test X server is the session here
"$kantrell" --version | grep -qx "kantrell [0-9]*\.[0-9]*" || fail "--version"
leds() { xset q | grep -o "$1: *o[nf]*" | awk '{print $NF}'; }
"$kantrell" on on on
for led in "Caps Lock" "Num Lock" "Scroll Lock"; do
  [ "$(leds "$led")" = on ] || fail "$led is not on after kantrell on on on"
done
"$kantrell" off off off
for led in "Caps Lock" "Num Lock" "Scroll Lock"; do
  [ "$(leds "$led")" = off ] || fail "$led is not off after kantrell off off off"
done
# The status window takes its drawing module from the package's own layout.
"$kantrell" "" "" "" 0 s &
pid=$!
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Statusmeldung: Kantrell V' && break
  sleep 0.05
done
sleep 0.3
grep -q "$work/root/usr/lib/kantrell/x11-drawing.so" "/proc/$pid/maps" ||
  { kill "$pid"; fail "the status window did not load the packaged drawing module"; }
wait "$pid" || fail "kantrell with the status window failed"
echo "package $(basename "$deb") holds a working kantrell"
