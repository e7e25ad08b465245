#!/bin/sh
# Each program given answers --help on standard output with status 0, and
# refuses an option it does not know with a non-zero status, writing no file
# (run in an empty folder, which must stay empty).
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
bad=0
for program in "$@"; do
  name=$(basename "$program")
  if ! "$program" --help >help.txt 2>/dev/null || ! grep -qi "usage: $name" help.txt; then
    echo "$name --help: no usage text with status 0" >&2
    bad=1
  fi
  rm -f help.txt
  for option in --frobnicate -x; do
    if "$program" "$option" >/dev/null 2>err.txt; then
      echo "$name $option: accepted" >&2
      bad=1
    fi
    rm -f err.txt
  done
  if [ -n "$(ls -A)" ]; then
    echo "$name: wrote $(ls -A)" >&2
    bad=1
    rm -rf ./* ./.[!.]* 2>/dev/null || true
  fi
done
exit $bad
