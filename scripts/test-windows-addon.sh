#!/bin/sh
# Builds the Windows add-on as released, for both processors and both C++
# ABIs (the Microsoft one with clang and lld-link, GCC's with MinGW-w64), and
# checks it: configuring without the simulator's executable name fails and
# says why; the build holds no test program; the DLL passes the PE checks and
# imports the host interface from that executable alone; `cmake --install`
# and `cpack -G ZIP` give the add-on's folders.
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
host=sim.exe
layout="Doc/Mervex.md Meshes/Daskern/Mervex.obj Modules/Mervex.dll Scenarios/Mervex/stowed.scn"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake -S tools/pecheck -B build/pecheck -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/pecheck -j "$jobs" >/dev/null

for preset in win32-release win64-release mingw64-release mingw32-release; do
  case $preset in
    win32-release) arch=i686 abi="--abi msvc --map build/$preset/src/Mervex.map" ;;
    win64-release) arch=x86_64 abi="--abi msvc" ;;
    mingw64-release) arch=x86_64 abi="" ;;
    mingw32-release) arch=i686 abi="" ;;
  esac
  dir=build/$preset
  echo "== $preset"

  unnamed=build/$preset-unnamed
  rm -rf "$unnamed"
  if cmake --preset "$preset" -B "$unnamed" >"$unnamed.log" 2>&1; then
    fail "$preset configured without MERVEX_HOST_EXECUTABLE"
  fi
  tr -s ' \n' '  ' <"$unnamed.log" | grep -q "file name of your simulator's executable, e.g. sim.exe" ||
    fail "$preset without MERVEX_HOST_EXECUTABLE did not say what is missing (see $unnamed.log)"
  rm -rf "$unnamed" "$unnamed.log"

  cmake --preset "$preset" -DMERVEX_HOST_EXECUTABLE=$host >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  built=$(find "$dir" -path "$dir/CMakeFiles" -prune -o \( -name '*.exe' -o -name '*gtest*' \) -print)
  [ -z "$built" ] || fail "$preset built test code: $built"
  # shellcheck disable=SC2086
  build/pecheck/pecheck "$dir/src/Mervex.dll" --machine $arch --host $host $abi

  staged=$dir/staged
  rm -rf "$staged"
  cmake --install "$dir" --prefix "$staged" >/dev/null
  (cd "$dir" && cpack -G ZIP >/dev/null)
  for f in $layout; do
    [ -f "$staged/$f" ] || fail "$preset installs no $f"
  done
  zip=$(ls "$dir"/Mervex-*-win*.zip)
  (cd "$staged" && find . -type f | sed 's|^\./||' | sort) >"$dir/staged.list"
  cmake -E tar tf "$zip" | grep -v '/$' | sort | cmp -s - "$dir/staged.list" ||
    fail "$zip does not hold what cmake --install lays out"
  echo "$zip: $(wc -l <"$dir/staged.list") files, as installed"
done
