#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each for a bounded time from its seed corpus.
#
#   scripts/fuzz.sh [seconds per target]     (default 5: about 30 s for the six targets)
#
# Exits nonzero when any target finds a fault; the input that shows it is kept in
# build-fuzz/artifacts/ (replay it with build-fuzz/fuzz/fuzz_<target> <file>). Inputs that reach
# new code are added to build-fuzz/corpus/<target>/, never to the seed corpus in the repository.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds="${1:-5}"
tree=build-fuzz

# CC and CXX only count when a tree is first configured.
if [[ -f "$tree/CMakeCache.txt" ]] &&
  ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++$' "$tree/CMakeCache.txt"; then
  rm -rf "$tree"
fi
CC=clang CXX=clang++ cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WARNINGS_AS_ERRORS=ON -DVARNEL_FUZZ=ON \
  -DVARNEL_BUILD_TESTS=OFF -DVARNEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$tree" -j2 --target varnel_fuzzers

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$tree/artifacts"

status=0
for source in fuzz/*_fuzzer.cpp; do
  target=$(basename "$source" _fuzzer.cpp)
  log="$tree/fuzz-$target.log"
  mkdir -p "$tree/corpus/$target"
  # A single input running 20 s is a hang; 2 GB of memory is a runaway allocation.
  if "$tree/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$tree/artifacts/$target-" \
    "$tree/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    echo "fuzz_$target: ${runs:-?} runs, ${coverage:-cov: ?}"
  else
    echo "fuzz_$target: FAILED (log $log)" >&2
    tail -n 60 "$log" >&2
    status=1
  fi
done
exit "$status"
