#!/usr/bin/env bash
# Installs what building KANTRELL.exe and running all its tests needs on Debian 12 (as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-dev googletest \
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
  wine wine64 xvfb x11-xserver-utils imagemagick fonts-liberation \
  ca-certificates
