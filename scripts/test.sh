#!/usr/bin/env bash
# Builds everything and runs every test. Installs what a fresh Debian 12 machine lacks first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

start=$(date +%s)
bash scripts/build.sh
built=$(date +%s)
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600
done_at=$(date +%s)
echo "Build time: $((built - start)) s; test time: $((done_at - built)) s"
