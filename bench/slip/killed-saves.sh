#!/usr/bin/env bash
# Kills a process that saves a 1,000-row slip again and again at random
# moments, 1,000 times, and reports the trials, torn files and leftover
# temporaries. Usage: bench/slip/killed-saves.sh [build folder] [trials]
set -euo pipefail
build=${1:-build}
trials=${2:-1000}
test_binary="$build/bin/tst_killedsave"
if [ ! -x "$test_binary" ]; then
  echo "no $test_binary: build first (scripts/build.sh $build)" >&2
  exit 2
fi
TORVANE_KILL_TRIALS=$trials QT_QPA_PLATFORM=offscreen "$test_binary" everyReloadIsTheOldOrTheNewSlip 2>&1 |
  grep -E 'killed saves|PASS|FAIL|Totals'
