#!/bin/sh
# Checks that sim/ keeps its layers:
#   1. no file of a folder includes a folder of a higher layer
#      (util < record < services < core < interface), and the public headers
#      (include/sim/) include only each other and the host interface;
#   2. no file prints: the library reports through the host's warnings or
#      what it throws, and leaves the terminal to the program that embeds it;
#   3. every function of the host interface (host/*.h) that the library
#      defines is defined under interface/: given the library's object files,
#      no other object defines one.
# Usage: check_layers.sh <sim folder> [<object file>...]; an argument may
# hold several object files separated by ';', as CMake lists them.
set -eu

sim=$1
shift
host=$sim/../host
failed=0

fail() {
  echo "check_layers: $*" >&2
  failed=1
}

# The layer of a folder of sim/, or nothing for one the check does not know.
layer() {
  case $1 in
    util) echo 0 ;;
    record) echo 1 ;;
    physics | scenario | dialogs | loading | faults | log | keys) echo 2 ;;
    core) echo 3 ;;
    interface | msabi) echo 4 ;;
  esac
}

for file in $(cd "$sim" && find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort); do
  folder=${file%%/*}
  includes=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$sim/$file")
  if [ "$folder" = include ]; then
    for inc in $includes; do
      case $inc in
        sim/* | host/*) ;;
        *) fail "$file: a public header includes \"$inc\"" ;;
      esac
    done
    continue
  fi
  own=$(layer "$folder")
  if [ -z "$own" ]; then
    fail "$file: sim/$folder/ has no layer; give it one here"
    continue
  fi
  for inc in $includes; do
    case $inc in
      */*) ;;
      *) continue ;;  # beside the file
    esac
    target=$(layer "${inc%%/*}")
    [ -n "$target" ] || continue  # sim/, host/, resfmt/: below every layer
    if [ "$target" -gt "$own" ]; then
      fail "$file includes \"$inc\", from a higher layer"
    fi
  done
done

printing='std::(cerr|clog|cout)|\<(stderr|stdout)\>|\<(perror|printf|fprintf|vfprintf|puts|fputs|putchar)[[:space:]]*\('
for file in $(cd "$sim" && grep -rlE "$printing" --include='*.h' --include='*.cpp' . | sed 's|^\./||' | sort); do
  fail "$file prints: $(grep -nE "$printing" "$sim/$file" | head -1)"
done

# The host interface's names: its free functions and its classes' members.
functions=$(sed -n 's/^HOSTAPI [^(]*[^A-Za-z0-9_]\([A-Za-z_][A-Za-z0-9_]*\)(.*/\1/p' "$host"/*.h | sort -u)
classes=$(sed -n 's/^class HOSTAPI \([A-Za-z_][A-Za-z0-9_]*\).*/\1/p' "$host"/*.h | sort -u)
pattern=$( (for f in $functions; do echo "^$f\\("; done; for c in $classes; do echo "^$c::"; done) | paste -sd'|' -)
if [ -z "$pattern" ]; then
  fail "found no function of the host interface in $host"
fi
checked=0
for object in $(printf '%s\n' "$@" | tr ';' '\n'); do
  case $object in
    */interface/*) continue ;;
  esac
  checked=$((checked + 1))
  # Strong definitions only: an inline function of a header is weak everywhere.
  defined=$(nm -C --defined-only "$object" | awk '$2 == "T" { $1 = ""; $2 = ""; sub(/^  /, ""); print }' |
    grep -E "$pattern" || true)
  if [ -n "$defined" ]; then
    fail "${object##*.dir/} defines host interface functions outside interface/: $(echo "$defined" | paste -sd' ' -)"
  fi
done

if [ $# -gt 0 ] && [ "$checked" = 0 ]; then
  fail "no object file outside interface/ among those given"
fi

[ "$failed" = 0 ] && echo "check_layers: sim/ keeps its layers"
exit "$failed"
