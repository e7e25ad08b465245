#!/bin/sh
# The demo's build step (scripts/demo.sh) names the targets the demo runs,
# and those need no test, benchmark or fuzzer built: a fresh clone flies the
# demo without building the test suite first.
# Usage: demo_builds_what_it_runs.sh SOURCE_DIR BUILD_DIR
set -eu
targets=$(sed -n 's/^targets="\(.*\)"$/\1/p' "$1/scripts/demo.sh")
[ -n "$targets" ] || { echo "scripts/demo.sh builds every target" >&2; exit 1; }
# shellcheck disable=SC2086 # one word per target
commands=$(ninja -C "$2" -t commands $targets)
for needed in bin/simhost-run Mervex.so Mervex.res; do
  echo "$commands" | grep -q "$needed" || { echo "the demo's build makes no $needed" >&2; exit 1; }
done
if echo "$commands" | grep -E '(^| )[^ ]*(tests|bench|fuzz|examples)/[^ ]*\.cpp' >&2; then
  echo "the demo's build compiles the above, which the demo does not run" >&2
  exit 1
fi
