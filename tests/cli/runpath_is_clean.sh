#!/bin/sh
# Every ELF file below the given folders searches for libraries only in
# absolute folders or ones relative to its own file ($ORIGIN): an empty or
# relative entry in its RUNPATH or RPATH means the working folder, where
# anyone may have put a library of the same name.
set -eu
bad=0
checked=0
for root in "$@"; do
  for f in $(find "$root" -type f ! -path '*/CMakeFiles/*' \( -perm -u+x -o -name '*.so*' \)); do
    head -c 4 "$f" | grep -q 'ELF' || continue
    checked=$((checked + 1))
    paths=$(readelf -d "$f" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]$/\1/p')
    [ -n "$paths" ] || continue
    # One entry per line; a leading, trailing or doubled ':' is an empty entry.
    for entry in $(printf '%s\n' "$paths" | sed 's/^:/<empty>:/; s/:$/:<empty>/; s/::/:<empty>:/g' | tr ':' '\n'); do
      case "$entry" in
        /* | '$ORIGIN' | '$ORIGIN/'*) ;;
        *) echo "$f: library search path entry '$entry' (in '$paths')" >&2; bad=1 ;;
      esac
    done
  done
done
[ "$checked" -gt 0 ] || { echo "no ELF file found below $*" >&2; exit 1; }
exit $bad
