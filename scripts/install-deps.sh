#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need,
# skipping the work when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  qt6-base-dev libgl-dev qt6-image-formats-plugins qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg-dev libuemf-dev
  fonts-wqy-zenhei
  xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
