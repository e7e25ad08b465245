#!/bin/sh
# Builds and runs every test: the native suite and the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer (with the fuzzers run for
# a bounded number of inputs). Fails on any failure.
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

# The Windows suite joins the default run once it is complete; until then
# MERVEX_WINDOWS_TESTS=1 asks for it.
if [ "${MERVEX_WINDOWS_TESTS:-0}" = 1 ] && [ -x scripts/test-windows.sh ]; then
  echo "== Windows build and tests"
  scripts/test-windows.sh
fi
