#!/bin/sh
# Installs the Debian packages the Windows build needs: the MinGW-w64
# cross compilers for both architectures, Wine to run the x86_64 tests, and
# a virtual X server for the optional screenshot run. Harmless when all is
# there; installing needs root.
set -eu
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

need=""
for p in g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64 wine64 xvfb xauth; do
  pkg_ok "$p" || need="$need $p"
done

# shellcheck disable=SC2086
"$(dirname "$0")/apt-install.sh" $need
