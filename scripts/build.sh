#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given) with Ninja and ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so that another clone of the project (CI's)
# reuses what this one compiled.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j2
