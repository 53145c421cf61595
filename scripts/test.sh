#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under the
# offscreen platform; then builds everything again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test once more, widget tests
# included (their teardown is where lifetime faults hide). Last, every fuzz
# harness runs for 30 seconds over its seeds (scripts/fuzz.sh): a smoke run
# that catches a reader that breaks on what it was fine with before.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-packages.sh

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

bash scripts/build.sh build
bash scripts/build.sh build-asan -DTORVANE_SANITIZE=ON -DTORVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

# A real print spooler for the printing test; stopped however the run ends.
source scripts/cups-spooler.sh
trap cups_stop EXIT
cups_start

status=0
echo "== Tests"
(cd build && ctest --output-on-failure -j2) || status=1
echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd build-asan &&
  ASAN_OPTIONS=detect_leaks=1:strict_init_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j2) || status=1
echo "== Fuzz harnesses, 30 seconds each, two at a time"
FUZZ_JOBS=2 bash scripts/fuzz.sh all 30 || status=1
exit $status
