#!/bin/sh
# Builds the stand-in host's Windows programs for 64-bit and 32-bit Windows
# with MinGW-w64, and Mervex.dll in both C++ ABIs for each (GCC's, and the
# Microsoft one with clang and lld-link); checks the PE files and runs the
# tests under Wine, 32-bit Wine for i686: the module's suites and the
# example flight against both DLLs. Then builds and checks the release
# add-on. Fails on any failure, after running everything.
set -eu
cd "$(dirname "$0")/.."

scripts/install-windows-deps.sh

status=0
for preset in mingw64 mingw32; do
  echo "== $preset build and tests"
  cmake --workflow --preset "$preset" || status=1
  # The prefix's wineserver ends with the tests; make sure of it after a failure too.
  scripts/wine-run.sh --stop "build/$preset/wineprefix"
  verdict=build/$preset/wineprefix.i686
  if [ -f "$verdict" ] && [ "$(cat "$verdict")" != runs ]; then
    echo "$preset: the runs under Wine were skipped: $(cat "$verdict")"
  fi
done
echo "== release add-on"
scripts/test-windows-addon.sh || status=1
exit $status
