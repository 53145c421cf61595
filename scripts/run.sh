#!/usr/bin/env bash
# Installs what is missing, builds, and starts Torvane with the bundled data.
# Extra arguments are passed to the program (e.g. a slip file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-packages.sh
bash scripts/build.sh build
exec ./build/bin/torvane "$@"
