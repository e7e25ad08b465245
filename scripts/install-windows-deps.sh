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

if [ -n "$need" ]; then
  echo "installing:$need"
  if [ "$(id -u)" != 0 ]; then
    echo "these packages are missing and installing them needs root:$need" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $need
fi
