#!/usr/bin/env bash
# Start-up benchmark: a bare Qt window with the program's menu bar, the
# program with no slip and the program with a sample slip, each started as a
# whole process on a private Xvfb, alternating, until its window is mapped
# and until it has first drawn into it. Prints the medians, the ratios to the
# bare window and the peak memory.
#
#   bash bench/startup/startup.sh [build folder] [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-21}
bin=$PWD/$build/bin
for exe in bench_startup bench_bare_window torvane; do
  [ -x "$bin/$exe" ] || { echo "$bin/$exe is missing: build first (bash scripts/build.sh $build)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The program runs on a copy of the bundled data, as a workshop that has set
# up its company block: its daily backup, recovery files and settings land
# in the copy. The slip is a copy too, for its lock file.
mkdir "$work/data"
cp -r "$bin/Dat" "$work/data/Dat"
export TORVANE_DATA_DIR="$work/data" TORVANE_NO_FIRST_START=1
cp samples/estimate-with-vehicle.tvx "$work/slip.tvx"
# Each run is killed once its window is up; the slip's lock it leaves, as a
# crash would, goes before the next run, which then opens the slip as after
# a normal close.
"$bin/bench_startup" --runs "$runs" --remove "$work/.~lock.slip.tvx#" \
  "bare-window=$bin/bench_bare_window" \
  "torvane=$bin/torvane" \
  "torvane-slip=$bin/torvane $work/slip.tvx"
