#!/usr/bin/env bash
# Builds the program and starts it on the sample database (created when run/DATA/vorenta.data is
# missing). Installs what a fresh Debian 12 machine lacks first. Without a graphical display the
# program says so and this script ends with its exit code 1.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh
mkdir -p run
cd run
[ -f DATA/vorenta.data ] || "$top/build/app/vorenta-makedb" DATA/vorenta.data
exec "$top/build/app/vorenta" "$@"
