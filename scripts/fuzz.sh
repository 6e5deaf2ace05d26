#!/usr/bin/env bash
# Builds every libFuzzer target (clang with AddressSanitizer and UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each for SECONDS (default 60), starting from its seed corpus in
# tests/fuzz/<target>/. Prints, per target, the executions and any finding with the input
# that caused it (kept under build-fuzz/fuzz-runs/<target>/). Exit status 1 when a target
# found something, 2 when the targets could not be built.
#
#   scripts/fuzz.sh            # 60 s per target
#   scripts/fuzz.sh 600        # ten minutes per target
#   ZK_FUZZ_TARGETS="recording capture" scripts/fuzz.sh 30
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${ZK_FUZZ_BUILD:-build-fuzz}
runs=$build/fuzz-runs
targets=(${ZK_FUZZ_TARGETS:-stream recording records settings ini session capture capturelines})

clangxx=$(command -v clang++ || command -v clang++-14) || {
  echo "fuzz.sh: clang++ is missing; scripts/install-deps.sh installs it" >&2
  exit 2
}
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$clangxx" \
    -DZK_FUZZ=ON "${launcher[@]}" >/dev/null || exit 2
fi
cmake --build "$build" -j2 --target $(printf 'zk_fuzz_%s ' "${targets[@]}") >/dev/null || {
  echo "fuzz.sh: the fuzz targets did not build (cmake --build $build --target zk_fuzz shows why)" >&2
  exit 2
}

found=0
printf '%-10s %14s  %s\n' target executions result
for t in "${targets[@]}"; do
  dir=$runs/$t
  mkdir -p "$dir/corpus"
  rm -f "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*
  # New inputs go to the run's own corpus; the seeds in the tree are only read.
  "$build/bin/zk_fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/" "$dir/corpus" "tests/fuzz/$t" >"$dir/log" 2>&1
  rc=$?
  execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$dir/log" | tail -1)
  kept=$(ls "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-* 2>/dev/null | head -1)
  if [ "$rc" -eq 0 ] && [ -z "$kept" ]; then
    result="no finding"
  else
    found=1
    result="FINDING (exit $rc): input kept in ${kept:-$dir}, log in $dir/log"
  fi
  printf '%-10s %14s  %s\n' "$t" "${execs:-?}" "$result"
done
exit "$found"
