#!/usr/bin/env bash
# Configures and builds into build/ (the "CI" build type: light optimisation, no debug info).
# ccache is keyed on paths relative to the checkout, so a clone in another folder hits the cache.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build
