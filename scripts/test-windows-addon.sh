#!/bin/sh
# Builds the Windows add-on as released, for both processors and both C++
# ABIs, and checks it. The Microsoft-ABI add-on (clang and lld-link) names
# no host: it configures with no executable's name, passes the PE checks
# (system DLLs alone in its import table, the host interface delay-loaded
# and bound at load to whichever program loads it), and `cmake --install`
# and `cpack -G ZIP` give the add-on's folders as Mervex-<version>-win32.zip
# or -win64.zip (the win32-release and win64-release workflow presets build
# and archive it). The GCC-ABI add-on (MinGW-w64) imports its host by file
# name: configuring it without that name fails and says why; it installs
# into that host and makes no archive, so no file of it can be taken for
# the one a vendor-built simulator loads.
set -eu
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
host=sim.exe
version=$(sed -n 's/^project(Mervex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
layout="Doc/Mervex.md Meshes/Daskern/Mervex.obj Modules/Mervex.dll Scenarios/Mervex/stowed.scn"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake -S tools/pecheck -B build/pecheck -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/pecheck -j "$jobs" >/dev/null

for preset in win32-release win64-release mingw64-release mingw32-release; do
  case $preset in
    win32-release) arch=i686 zip=Mervex-$version-win32.zip check="--abi msvc --map build/$preset/src/Mervex.map" ;;
    win64-release) arch=x86_64 zip=Mervex-$version-win64.zip check="--abi msvc" ;;
    mingw64-release) arch=x86_64 zip="" check="--host $host" ;;
    mingw32-release) arch=i686 zip="" check="--host $host" ;;
  esac
  dir=build/$preset
  echo "== $preset"

  if [ -z "$zip" ]; then
    unnamed=build/$preset-unnamed
    rm -rf "$unnamed"
    if cmake --preset "$preset" -B "$unnamed" >"$unnamed.log" 2>&1; then
      fail "$preset configured without MERVEX_HOST_EXECUTABLE"
    fi
    tr -s ' \n' '  ' <"$unnamed.log" | grep -q "file name of the MinGW-built host's executable, e.g. sim.exe" ||
      fail "$preset without MERVEX_HOST_EXECUTABLE did not say what is missing (see $unnamed.log)"
    rm -rf "$unnamed" "$unnamed.log"
    cmake --preset "$preset" -DMERVEX_HOST_EXECUTABLE=$host >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
  else
    # The preset's workflow configures afresh (a name left in the cache by an
    # older build would go unused), builds, and archives with cpack.
    rm -f "$dir"/Mervex-*.zip
    CMAKE_BUILD_PARALLEL_LEVEL=$jobs cmake --workflow --preset "$preset" --fresh
  fi
  built=$(find "$dir" -path "$dir/CMakeFiles" -prune -o \( -name '*.exe' -o -name '*gtest*' \) -print)
  [ -z "$built" ] || fail "$preset built test code: $built"
  # shellcheck disable=SC2086
  build/pecheck/pecheck "$dir/src/Mervex.dll" --machine $arch $check

  staged=$dir/staged
  rm -rf "$staged"
  cmake --install "$dir" --prefix "$staged" >/dev/null
  for f in $layout; do
    [ -f "$staged/$f" ] || fail "$preset installs no $f"
  done
  if [ -z "$zip" ]; then
    rm -f "$dir"/Mervex-*.zip
    if (cd "$dir" && cpack -G ZIP >/dev/null 2>&1); then
      fail "$preset made an archive: $(ls "$dir"/*.zip 2>/dev/null)"
    fi
    echo "$preset: installed, no archive"
    continue
  fi
  made=$(cd "$dir" && ls Mervex-*.zip)
  [ "$made" = "$zip" ] || fail "$preset made $made, expected $zip"
  (cd "$staged" && find . -type f | sed 's|^\./||' | sort) >"$dir/staged.list"
  cmake -E tar tf "$dir/$zip" | grep -v '/$' | sort | cmp -s - "$dir/staged.list" ||
    fail "$dir/$zip does not hold what cmake --install lays out"
  echo "$dir/$zip: $(wc -l <"$dir/staged.list") files, as installed"
done
