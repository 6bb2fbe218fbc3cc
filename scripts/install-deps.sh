#!/usr/bin/env bash
# Installs, from Debian's packages, whatever this machine still lacks to build and test both
# programs: the native toolchain, Qt 6, GoogleTest, the mingw-w64 cross compilers, wine64,
# Xvfb, xdotool and a private Samba server for the share tests. The fonts stand in, with the
# same metrics, for the window's Tahoma and Courier New.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev fonts-liberation fonts-wine
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686
  wine64 xvfb xdotool x11-utils imagemagick
  samba smbclient libsmbclient-dev
  zip
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# --no-install-recommends keeps wine32 out: with it a plain "wine" picks the 32-bit loader,
# which this machine's kernel cannot run.
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
