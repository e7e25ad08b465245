#!/bin/sh
# Installs the default build the two ways a user would and flies the demo
# from each with the build folder moved away: `cmake --install` into a
# temporary prefix, and the Debian package unpacked into a temporary root.
# Also checks that no installed file names the source or build folder and
# that the package declares its dependencies, and builds modules outside the
# tree from the moved install (scripts/test-kit.sh). All of it under a umask
# that gives others nothing: what is installed and packed must still carry
# the usual modes. Run after the default build.
set -eu
cd "$(dirname "$0")/.."
umask 077
build=build/default
away=build/default.away
scratch=$(mktemp -d)
src=$(pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }
restore() {
  if [ -d "$away" ] && [ ! -e "$build" ]; then mv "$away" "$build"; fi
  rm -rf "$scratch"
}
trap restore EXIT
trap "exit 1" INT TERM

[ -x "$build/bin/simhost-run" ] || fail "no default build; build the default preset first"
rm -f "$build"/mervex_*.deb "$build"/mervex-*.tar.gz
cmake --install "$build" --prefix "$scratch/prefix" --strip >/dev/null
(cd "$build" && cpack -G "DEB;TGZ") >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$build"/mervex_*.deb)
ls "$build"/mervex-*.tar.gz >/dev/null
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libc6 || fail "$deb declares no dependency on libc6 (Depends: $depends)"
dpkg-deb -x "$deb" "$scratch/root"

# Folders and programs rwxr-xr-x, other files rw-r--r--, links as links.
odd_modes() { grep -Ev '^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x|lrwxrwxrwx) ' || true; }
odd=$(cd "$scratch/prefix" && find . -mindepth 1 -printf '%M %p\n' | odd_modes)
[ -z "$odd" ] || fail "cmake --install under umask 077 gave these modes:
$odd"
for archive in "$deb" "$build"/mervex-*.tar.gz; do
  case $archive in
    *.deb) odd=$(dpkg-deb -c "$archive" | odd_modes) ;;
    *) odd=$(tar -tvzf "$archive" | odd_modes) ;;
  esac
  [ -z "$odd" ] || fail "$archive packed under umask 077 holds these modes:
$odd"
done
echo "install and packages: standard modes under umask 077"

tests/cli/runpath_is_clean.sh "$scratch/prefix" "$scratch/root" || fail "an installed file searches a relative folder for libraries"
if grep -rlF "$src" "$scratch/prefix" "$scratch/root"; then
  fail "the files above name $src"
fi

# Fly from copies elsewhere: a program that reached back into the build
# folder finds nothing there now.
mv "$build" "$away"
fly() { # fly NAME BIN DATA
  "$2/simhost-run" "$3/scenarios/stowed.scn" --timeline "$3/scenarios/stowed.timeline" \
    --duration 60 --out "$scratch/out-$1" >"$scratch/$1.log" 2>&1 ||
    { cat "$scratch/$1.log" >&2; fail "$1: the demo did not fly"; }
  grep -q '^ *ARRAYS 0$' "$scratch/out-$1/final.scn" || fail "$1: the arrays did not deploy in the demo"
  if grep -qi "mesh\|bitmap\|cannot" "$scratch/$1.log"; then
    cat "$scratch/$1.log" >&2
    fail "$1: the demo missed a file"
  fi
  echo "$1: demo flown, arrays deployed"
  # The live view's page comes from the same tree.
  node tests/serve/page_installed.mjs "$2/simhost-run" "$3/scenarios/stowed.scn" "$scratch/serve-$1" ||
    fail "$1: simhost-run --serve did not serve its page"
}
mv "$scratch/prefix" "$scratch/moved"
fly installed "$scratch/moved/bin" "$scratch/moved/share/mervex"
scripts/test-kit.sh "$scratch/moved" "$scratch/kit"
"$scratch/root/usr/bin/simhost-run" --help >"$scratch/help.txt" ||
  fail "simhost-run --help from the package failed"
grep -qF "(default: $scratch/root/usr/lib/mervex/modules)" "$scratch/help.txt" ||
  fail "the packaged program's default modules folder is not in its own tree: $(grep -A1 -- --modules "$scratch/help.txt")"
fly package "$scratch/root/usr/bin" "$scratch/root/usr/share/mervex"
