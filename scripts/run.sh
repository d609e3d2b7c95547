#!/usr/bin/env bash
# Builds the program and starts it on the sample database (created when DATA/vorenta.data is
# missing). Installs what a fresh Debian 12 machine lacks first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh
if [ ! -x build/app/vorenta ]; then
  echo "The libraries are built; the program itself is not there yet."
  exit 0
fi
mkdir -p run
cd run
[ -f DATA/vorenta.data ] || "$top/build/app/vorenta-makedb" DATA/vorenta.data
exec "$top/build/app/vorenta" "$@"
