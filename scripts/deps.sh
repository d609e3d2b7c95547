#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
# With --dev also what the benchmarks and the by-hand checks use (Google Benchmark, Lua, a
# virtual X server, PDF to PNG), with --fuzz clang and its sanitizer and libFuzzer runtime.
# Quiet and quick when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ ccache pkg-config
  libgtest-dev libgmock-dev
  xvfb xauth
  libicu-dev zlib1g-dev libjpeg-dev libpng-dev libsqlite3-dev
  libfreetype-dev libharfbuzz-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  qt6-base-dev libgl-dev libcups2-dev libxlsxwriter-dev libxcb1-dev qt6-translations-l10n
  python3-openpyxl
  qpdf poppler-utils unrtf xclip
  cups-daemon cups-client cups-filters
)
if [ "${1:-}" = "--dev" ]; then
  packages+=(libbenchmark-dev liblua5.4-dev duktape-dev libxml2-dev poppler-utils libqt6sql6-sqlite libpoppler-cpp-dev libkreport3-dev libcairo2-dev)
fi
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev)  # scripts/fuzz.sh: libFuzzer with ASan and UBSan
fi

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
