#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# With "screenshots": also what make run without a display and make screenshots need;
# with "tidy": clang-tidy for make tidy.
set -eu
pkgs="cmake ninja-build g++ make git googletest libcli11-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 fonts-wine clang-format-14"
if [ "${1:-}" = screenshots ]; then
  pkgs="$pkgs xvfb xauth xdotool imagemagick"
fi
[ "${1:-}" = tidy ] && pkgs="$pkgs clang-tidy-14"
# make fuzz also needs clang 14 and its sanitizer and libFuzzer runtimes.
[ -n "${KW_WITH_FUZZ:-}" ] && pkgs="$pkgs clang-14 libclang-rt-14-dev"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != 0 ]; then
  echo "Missing packages:$missing" >&2
  echo "Install them as root (apt-get install$missing), or run 'make test' as root." >&2
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y --no-install-recommends $missing
