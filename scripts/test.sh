#!/bin/sh
# Builds and runs every test: the native suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows suite
# (cross-built, checked and run under Wine). Fails on any failure.
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh

for preset in default asan; do
  echo "== $preset build"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset tests"
  ctest --preset "$preset" -j "$jobs"
done

if [ -x scripts/test-windows.sh ]; then
  echo "== Windows build and tests"
  scripts/test-windows.sh
fi
