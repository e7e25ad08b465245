#!/bin/sh
# Uses an installed stand-in host as a module author would:
#   scripts/test-kit.sh PREFIX SCRATCH
# Builds examples/tank, a project simhost-new-module writes, and the
# resource-carrying tests/kit from PREFIX alone
# with find_package(SimHost) and runs their validation through ctest (and a
# program that embeds the host through its installed headers), the latter
# with both Makefiles and Ninja, each rebuilding its resources when the
# bitmap or the ids header the script includes changes; checks
# that a resource script llvm-rc cannot compile is refused at configuration,
# that the pkg-config file builds a module the validator passes, and that
# the library is libsimhost.so.1 and shows none of the host's internals.
set -eu
cd "$(dirname "$0")/.."
prefix=$1
scratch=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir -p "$scratch"

project() { # project NAME SOURCE GENERATOR: configure, build, ctest
  name=$1 source=$2 generator=$3
  cmake -S "$source" -B "$scratch/$name" -G "$generator" -DCMAKE_PREFIX_PATH="$prefix" >"$scratch/$name.log" 2>&1 &&
    cmake --build "$scratch/$name" >>"$scratch/$name.log" 2>&1 &&
    ctest --test-dir "$scratch/$name" --output-on-failure >>"$scratch/$name.log" 2>&1 ||
    { cat "$scratch/$name.log" >&2; fail "$name: the project did not build and validate from $prefix"; }
  echo "$name: built from the installed kit and validated"
}
project tank examples/tank Ninja

# A new module project from the kit's template, built and validated as written.
rm -rf "$scratch/new"
mkdir -p "$scratch/new"
(cd "$scratch/new" && "$prefix/bin/simhost-new-module" Probe >new.log 2>&1 &&
  cmake -S Probe -B b >>new.log 2>&1 && cmake --build b >>new.log 2>&1 &&
  ctest --test-dir b --output-on-failure >>new.log 2>&1) ||
  { cat "$scratch/new/new.log" >&2; fail "simhost-new-module Probe: the project did not build, fly and validate"; }
grep -q "warning:" "$scratch/new/new.log" && { cat "$scratch/new/new.log" >&2; fail "simhost-new-module Probe: warnings"; }
grep -q "BURSTS 1" "$scratch/new/b/flight/final.scn" ||
  fail "simhost-new-module Probe: the flight's click did not count"
echo "simhost-new-module: its project built, flew and validated"
# A copy, so that its bitmap and header can change.
cp -R tests/kit "$scratch/lander-src"
landers="lander-make lander-ninja"
project lander-make "$scratch/lander-src" "Unix Makefiles"
project lander-ninja "$scratch/lander-src" Ninja
for name in $landers; do
  [ -f "$scratch/$name/Lander.res" ] || fail "$name: no Lander.res beside Lander.so"
done
rebuilt_after() { # rebuilt_after FILE: every lander build must give a new Lander.res
  for name in $landers; do
    cp "$scratch/$name/Lander.res" "$scratch/$name.res.before"
    cmake --build "$scratch/$name" >>"$scratch/$name.log" 2>&1 ||
      { cat "$scratch/$name.log" >&2; fail "$name: rebuild"; }
    if cmp -s "$scratch/$name/Lander.res" "$scratch/$name.res.before"; then
      fail "$name: a change to $1 did not rebuild Lander.res"
    fi
  done
  echo "lander: a change to $1 rebuilt the resources"
}
printf '\377' | dd of="$scratch/lander-src/gear.bmp" bs=1 seek=54 conv=notrunc 2>/dev/null
rebuilt_after gear.bmp
sed -i 's/IDC_GEAR 1001/IDC_GEAR 1002/' "$scratch/lander-src/lander_ids.h"
rebuilt_after lander_ids.h

if cmake -S tests/kit -B "$scratch/broken" -DCMAKE_PREFIX_PATH="$prefix" -DLANDER_RC=broken.rc \
    >"$scratch/broken.log" 2>&1; then
  fail "a resource script llvm-rc cannot compile was accepted"
fi
grep -q "llvm-rc cannot compile the resource script" "$scratch/broken.log" && grep -q "expected ','" "$scratch/broken.log" ||
  { cat "$scratch/broken.log" >&2; fail "the refusal of a broken resource script does not say why"; }
echo "broken resources: refused at configuration"

PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
export PKG_CONFIG_PATH
# shellcheck disable=SC2046 # the flags are meant to split
c++ -std=c++17 -shared -fPIC -fno-gnu-unique -Wl,--no-undefined -o "$scratch/Tank.so" examples/tank/Tank.cpp \
  $(pkg-config --cflags --libs simhost) || fail "pkg-config: Tank did not build"
"$prefix/bin/simhost-validate" "$scratch/Tank.so" --level 2 >"$scratch/pc.log" 2>&1 ||
  { cat "$scratch/pc.log" >&2; fail "pkg-config: the validator failed Tank"; }
echo "pkg-config: Tank built and validated"

library="$prefix/lib/libsimhost.so.1"
readelf -d "$library" | grep -q 'SONAME.*\[libsimhost\.so\.1\]' || fail "$library does not name itself libsimhost.so.1"
# The host's internals stay inside: the craft records' own functions, their
# storage, the calls' bookkeeping, the test hooks.
internals='sim::Call::|sim::VesselRecord::|sim::StableStorage|sim::Faults|sim::host_access|sim::Host::Impl|sim::live_record|sim::integrate|sim::set_group_level|sim::read_beacons|sim::(AtomicFile|split_lines|shown_text|number_text|read_input_file)'
if nm -D -C --defined-only "$library" | grep -E "$internals"; then
  fail "$library exports the host's internals above"
fi
echo "libsimhost.so.1: named so, and its internals hidden"
# Nor do the installed headers show them: a craft is seen through sim::Craft.
if grep -rlE 'struct (VesselRecord|Faults) \{|class StableStorage' "$prefix/include/simhost"; then
  fail "the installed headers above show the host's records"
fi
echo "installed headers: the host's face only"
