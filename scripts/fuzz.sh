#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang, libFuzzer, ASan and UBSan into build-fuzz/ and
# runs each for SECONDS (default 600), JOBS at a time (default 2), each from its committed
# corpus. New inputs libFuzzer finds are kept in build-fuzz/corpus/<Target>/; crashes, leaks
# and time-outs are written to build-fuzz/findings/<Target>/, with the log beside them.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 60 ScriptPascal ReportXML
#
# Needs clang and libclang-rt (bash scripts/deps.sh --fuzz). A finding's input belongs in
# fuzz/corpus/<Target>/ with the fix, named regress-<what>, so the test suite replays it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-600}
[ $# -gt 0 ] && shift
jobs=${JOBS:-2}
out=${FUZZ_BUILD:-build-fuzz}

export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
[ -f "$out/build.ninja" ] || cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORENTA_FUZZ=ON -DVORENTA_TESTS=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/corpus/*/; do targets+=("$(basename "$f")"); done
fi
cmake --build "$out" -j "${BUILD_JOBS:-4}" --target "${targets[@]/#/fuzz_}"

run_one() {
  local t=$1 corpus="$out/corpus/$1" findings="$out/findings/$1"
  mkdir -p "$corpus" "$findings"
  # Stack as on the CI machine; the sanitizers' own stack use is what the limits allow for.
  (ulimit -s 8192
   ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
   LSAN_OPTIONS=suppressions="$top/.ci/lsan.supp" \
   UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
   "$out/fuzz/fuzz_$t" "$corpus" "fuzz/corpus/$t" -max_total_time="$seconds" -timeout=10 \
     -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" \
     >"$findings/log.txt" 2>&1) || true
  local stats
  stats=$(grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|cov: .*ft:" "$findings/log.txt" \
          | tail -3 | tr '\n' ' ')
  local found
  found=$(find "$findings" -type f ! -name log.txt | wc -l)
  echo "$t: $stats findings: $found"
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait
