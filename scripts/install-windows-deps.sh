#!/bin/sh
# Installs the Debian packages the Windows builds need: the MinGW-w64 cross
# compilers for both processors; clang, lld and the llvm tools for the
# add-on in the Microsoft C++ ABI; Wine for 64-bit and, through Debian's
# i386 architecture, for 32-bit Windows programs; a virtual X server for the
# optional screenshot run. Harmless when all is there; installing needs root.
set -eu
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# wine32 is an i386 package: without the architecture apt does not know it.
if ! pkg_ok wine32:i386 && ! dpkg --print-foreign-architectures | grep -qx i386; then
  [ "$(id -u)" = 0 ] || { echo "32-bit Wine needs Debian's i386 architecture; adding it needs root" >&2; exit 1; }
  dpkg --add-architecture i386
fi

need=""
for p in g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64 clang lld llvm \
         wine64 wine32:i386 xvfb xauth; do
  pkg_ok "$p" || need="$need $p"
done

# shellcheck disable=SC2086
"$(dirname "$0")/apt-install.sh" $need
