#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev libbenchmark-dev libzip-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  cups printer-driver-cups-pdf poppler-utils
  xvfb xauth x11-utils libx11-dev libxdamage-dev
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
