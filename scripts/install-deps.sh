#!/bin/sh
# Installs the Debian packages the native build and its tests need, when
# they are missing. Run as root on a fresh machine; harmless when all is there.
set -eu
need=""
have() { command -v "$1" >/dev/null 2>&1; }
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have cmake || need="$need cmake"
have ninja || need="$need ninja-build"
have g++ || need="$need g++"
have clang++ || need="$need clang"
have llvm-rc || have llvm-rc-14 || need="$need llvm"
# The Debian package's dependencies are read with dpkg-shlibdeps, which CPack finds ELF files for with file.
have dpkg-shlibdeps || need="$need dpkg-dev"
have file || need="$need file"
# The live view (simhost-run --serve): Boost.Beast and nlohmann-json, header
# only; npm for the page's packages; Node and Debian's Chromium for its
# browser tests (no browser is ever downloaded).
have node || need="$need nodejs"
have npm || need="$need npm"
have chromium || need="$need chromium"
for p in libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev libboost-dev nlohmann-json3-dev; do
  pkg_ok "$p" || need="$need $p"
done

# shellcheck disable=SC2086
"$(dirname "$0")/apt-install.sh" $need
