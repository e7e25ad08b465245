#!/bin/sh
# load_refused.sh MODULE COMMAND...: runs COMMAND, a flight in a host that
# lacks a function MODULE binds at load, and passes only when the program
# fails and says that MODULE could not be loaded because its DLL entry
# refused (Windows error 1114). Exit status 77 (wine-run.sh skipped the
# run) passes through.
set -u
[ $# -ge 2 ] || { echo "usage: $0 MODULE COMMAND..." >&2; exit 2; }
module=$1
shift
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
[ $status -ne 77 ] || exit 77
if [ $status -eq 0 ]; then
  echo "FAIL: the flight ran; $module should have been refused" >&2
  exit 1
fi
printf '%s\n' "$out" | grep -q "$module: error 1114" || {
  echo "FAIL: no message that $module was refused by its DLL entry (error 1114)" >&2
  exit 1
}
echo "$module refused at load, as it should be"
