#!/usr/bin/env bash
# Installs what building KANTRELL.exe and kantrell and running all their tests needs on Debian 12
# (as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-dev googletest \
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
  wine wine64 xvfb x11-xserver-utils x11-utils imagemagick fonts-liberation \
  libx11-dev libxtst-dev libxft-dev libxrandr-dev pkg-config \
  dpkg-dev file groff-base zip xdotool numlockx \
  ca-certificates
