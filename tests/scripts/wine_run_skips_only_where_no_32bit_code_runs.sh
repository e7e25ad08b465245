#!/bin/sh
# wine_run_skips_only_where_no_32bit_code_runs.sh WINE_RUN: drives the Wine
# launcher with stand-in loaders. A 32-bit run is skipped (exit 77, with the
# reason) only when the 32-bit loader is refused by the kernel, the answer is
# found once per prefix, and a missing loader or a 64-bit program never skip.
set -eu
wine_run=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

fake() { # fake NAME EXIT_STATUS MESSAGE: a loader that says MESSAGE and exits so
  printf '#!/bin/sh\necho "%s" >&2\n[ "$1" = --version ] && exit %s\necho "ran $*"\n' "$3" "$2" >"$scratch/$1"
  chmod +x "$scratch/$1"
}
fake wine64 0 "" && fake wineserver 0 ""
# Wine makes the prefix's folder on its first start.
sed -i '2i mkdir -p "$WINEPREFIX"' "$scratch/wine64"
export WINE64=$scratch/wine64 WINESERVER=$scratch/wineserver

run() { # run PREFIX ARGS...: the launcher's exit status and output
  status=0
  out=$("$wine_run" "$@" 2>&1) || status=$?
}

fake wine 126 "cannot execute binary file: Exec format error"
export WINE32=$scratch/wine
run --i686 "$scratch/refused" prog.exe
[ $status -eq 77 ] || fail "a kernel refusing 32-bit code gave exit $status, not 77: $out"
echo "$out" | grep -q "skipped: this machine runs no 32-bit x86 code" || fail "no reason given: $out"
fake wine 0 "" && run --i686 "$scratch/refused" prog.exe
[ $status -eq 77 ] || fail "the verdict was not kept for the prefix: exit $status"
run "$scratch/refused" prog.exe
[ $status -eq 0 ] && echo "$out" | grep -q "ran prog.exe" || fail "a 64-bit program was not run: $out"

run --i686 "$scratch/runs" prog.exe
[ $status -eq 0 ] && echo "$out" | grep -q "ran prog.exe" || fail "a 32-bit program on a machine that runs it: $out"

fake wine 127 "wine: not found"
run --i686 "$scratch/broken" prog.exe
[ $status -ne 0 ] && [ $status -ne 77 ] || fail "a broken 32-bit loader was skipped or passed (exit $status)"
export WINE32=$scratch/absent
run --i686 "$scratch/absent" prog.exe
[ $status -ne 0 ] && [ $status -ne 77 ] || fail "a missing 32-bit loader was skipped or passed (exit $status)"
echo "the Wine launcher skips only where the kernel refuses 32-bit code"
