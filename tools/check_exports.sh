#!/bin/sh
# Fails when the host library exports a symbol that no line of the allowed
# list matches (one extended regular expression a line, '#' comments).
# Usage: check_exports.sh <library> <allowed list>
set -eu

library=$1
allowed=$(grep -v '^#' "$2" | grep -v '^$' | sed 's/.*/^(&)$/' | paste -sd'|' -)
symbols=$(nm -D -C --defined-only "$library" | awk '{ $1 = ""; $2 = ""; print substr($0, 3) }' | sort -u)
[ -n "$symbols" ] || { echo "check_exports: $library exports nothing" >&2; exit 1; }
extra=$(printf '%s\n' "$symbols" | grep -Ev "$allowed" || true)
if [ -n "$extra" ]; then
  echo "check_exports: $library exports what no installed header declares:" >&2
  printf '%s\n' "$extra" >&2
  exit 1
fi
echo "check_exports: $(printf '%s\n' "$symbols" | wc -l) symbols, each one the installed headers declare"
