#!/usr/bin/env bash
# Builds everything with ASan and UBSan (-DVORENTA_SANITIZE=ON) into build-sanitize/ and runs the
# whole test suite, the fuzz corpora's replay included, with leak checks. Slow: several times the
# ordinary test run. Leaks inside system libraries are suppressed by .ci/lsan.supp.
#
#   scripts/sanitize.sh [ctest arguments...]      e.g. scripts/sanitize.sh -R Script
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
out=${SANITIZE_BUILD:-build-sanitize}
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
[ -f "$out/build.ninja" ] || cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=CI -DVORENTA_SANITIZE=ON >/dev/null
cmake --build "$out" -j "${JOBS:-4}"

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=0:abort_on_error=1
export LSAN_OPTIONS=suppressions="$top/.ci/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$out" --output-on-failure -j "${JOBS:-4}" --timeout 1800 "$@"
