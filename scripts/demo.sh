#!/bin/sh
# Builds what the demo runs (simhost-run and the Mervex module with its
# resources; the test command builds the rest), then flies the stowed
# Mervex through its timeline: deploy the arrays, burn the main engine,
# stop the pitch it gave.
set -eu
cd "$(dirname "$0")/.."
targets="simhost_run Mervex"
scripts/install-deps.sh
cmake --preset default
# shellcheck disable=SC2086 # one word per target
cmake --build --preset default --target $targets
out=build/default/demo
build/default/bin/simhost-run scenarios/stowed.scn \
  --timeline scenarios/stowed.timeline --duration 60 \
  --out "$out" --json "$out/telemetry.json"
echo
echo "Saved scenario: $out/final.scn"
echo "Telemetry:      $out/telemetry.json"
echo "Pictures:       $out/top_view.svg $out/deployment.svg $out/telemetry.svg"
