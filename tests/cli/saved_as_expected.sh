#!/bin/sh
# saved_as_expected.sh EXPECTED SAVED COMMAND...: runs COMMAND, a flight
# that saves its scenario to SAVED, and fails unless that file equals
# EXPECTED byte for byte. After a deliberate change of what a flight saves,
# copy SAVED over EXPECTED.
set -eu
[ $# -ge 3 ] || { echo "usage: $0 EXPECTED SAVED COMMAND..." >&2; exit 2; }
expected=$1 saved=$2
shift 2
rm -f "$saved"
"$@"
if ! cmp "$expected" "$saved"; then
  diff -u "$expected" "$saved" || true
  exit 1
fi
echo "$saved equals $expected"
