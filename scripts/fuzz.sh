#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz/) into build-fuzz/ with clang and runs
# one harness, or all of them one after the other, for the given seconds each.
#
#   scripts/fuzz.sh [harness|all] [seconds]     (default: all, 30 s each)
#
# Each run starts from a copy of the harness's seeds (fuzz/corpus/<name>/) in
# a work folder, so the checked-in seeds stay small and untouched; what the
# run finds new stays in the work folder. Crash, leak, timeout and
# out-of-memory inputs go to the artefact folder that the script prints;
# the exit status is non-zero when any harness found something.
# FUZZ_WORK=<folder> keeps the work folder (default: a new temporary one).
# FUZZ_JOBS=<n> runs n harnesses at a time (default 1), each on its own core:
# the long campaign on a two-core machine takes half the time with 2.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
target=${1:-all}
seconds=${2:-30}

export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_FUZZ=ON >/dev/null
nice -n 10 cmake --build build-fuzz -j2

mapfile -t harnesses < build-fuzz/fuzz-harnesses.txt
if [ "$target" != all ]; then
  printf '%s\n' "${harnesses[@]}" | grep -qx "$target" || {
    echo "no harness $target; there are: ${harnesses[*]}" >&2
    exit 2
  }
  harnesses=("$target")
fi

work=${FUZZ_WORK:-$(mktemp -d "${TMPDIR:-/tmp}/torvane-fuzz.XXXXXX")}
artefacts="$work/artefacts"
mkdir -p "$artefacts"
echo "== Fuzzing ${harnesses[*]} for ${seconds} s each; artefacts go to $artefacts"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One harness over its corpus; prints one line of outcome and fails on a
# finding.
fuzz_one() {
  local name=$1 corpus="$work/corpus/$1" log="$work/$1.log"
  mkdir -p "$corpus" "$artefacts/$name"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -rn "fuzz/corpus/$name/." "$corpus/"
  fi
  local args=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
              -artifact_prefix="$artefacts/$name/")
  if [ -f "fuzz/dict/$name.dict" ]; then
    args+=(-dict="fuzz/dict/$name.dict")
  fi
  if nice -n 10 "build-fuzz/bin/$name" "${args[@]}" "$corpus" >"$log" 2>&1; then
    local execs rate
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    rate=$(grep -o 'exec/s: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo '?')
    echo "$name: ok, $execs runs, $rate runs/s"
  else
    echo "$name: FOUND SOMETHING; log $log, inputs in $artefacts/$name/"
    grep -E 'ERROR|invariant broken|runtime error|SUMMARY' "$log" | head -5 || true
    return 1
  fi
}

jobs=${FUZZ_JOBS:-1}
status=0
running=()
for name in "${harnesses[@]}"; do
  if [ ${#running[@]} -ge "$jobs" ]; then
    wait "${running[0]}" || status=1
    running=("${running[@]:1}")
  fi
  fuzz_one "$name" &
  running+=($!)
done
for pid in "${running[@]}"; do
  wait "$pid" || status=1
done
# A temporary work folder of a clean run holds nothing worth keeping; after
# a finding it stays for its inputs and logs.
if [ -z "${FUZZ_WORK:-}" ] && [ $status -eq 0 ]; then
  rm -rf "$work"
fi
exit $status
