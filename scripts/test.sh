#!/bin/sh
# Builds and runs every test: the native suite, its install and packages
# flown from outside the build folder, the same suite under AddressSanitizer
# and UndefinedBehaviorSanitizer (with the fuzzers run for a bounded number
# of inputs), then the Windows suite: both MinGW-w64 builds, their PE
# checks, both DLLs of each under Wine, and the release add-on. Fails on any
# failure.
set -eu
cd "$(dirname "$0")/.."
CMAKE_BUILD_PARALLEL_LEVEL=${JOBS:-$(nproc)}
CTEST_PARALLEL_LEVEL=$CMAKE_BUILD_PARALLEL_LEVEL
export CMAKE_BUILD_PARALLEL_LEVEL CTEST_PARALLEL_LEVEL

scripts/install-deps.sh

# Each workflow preset configures, builds and tests one build.
for preset in default asan; do
  echo "== $preset build and tests"
  cmake --workflow --preset "$preset"
  if [ "$preset" = default ]; then
    echo "== install and packages"
    scripts/test-install.sh
  fi
done

if [ "${MERVEX_WINDOWS_TESTS:-1}" = 1 ]; then
  echo "== Windows build and tests"
  scripts/test-windows.sh
fi
