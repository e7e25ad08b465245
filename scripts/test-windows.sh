#!/bin/sh
# Builds Mervex.dll for 64-bit and 32-bit Windows with MinGW-w64, checks both
# PE files, and runs the 64-bit tests under Wine (this machine runs no 32-bit
# code); then builds and checks the release add-on for both. Fails on any
# failure, after running everything.
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

scripts/install-windows-deps.sh

status=0
for preset in mingw64 mingw32; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests"
  ctest --preset "$preset" || status=1
done
# The prefix's wineserver ends with the tests; make sure of it after a failure too.
scripts/wine-run.sh --stop build/mingw64/wineprefix
echo "== release add-on"
scripts/test-windows-addon.sh || status=1
exit $status
