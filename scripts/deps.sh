#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
# Quiet and quick when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev zlib1g-dev libjpeg-dev libpng-dev libsqlite3-dev
  libfreetype-dev libharfbuzz-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  qt6-base-dev libgl-dev libcups2-dev libxlsxwriter-dev liblua5.4-dev
  xvfb xauth poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
