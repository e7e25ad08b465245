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
for p in libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev; do
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
