#!/usr/bin/env bash
# Builds the Debian package torvane_<version>_<arch>.deb from a finished
# build: scripts/package.sh [build folder] [output folder]. Prints the
# package's path.
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
build=$(realpath "${1:-$root/build}")
out=$(realpath -m "${2:-$build/package}")
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
ls "$out"/torvane_*.deb
