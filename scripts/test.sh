#!/usr/bin/env bash
# The project's single test command: a plain optimised build and a clang
# AddressSanitizer/UndefinedBehaviorSanitizer build, each with its full suite, a clang
# ThreadSanitizer build with the suite of contexts on threads, the 32-bit and 64-bit Windows DLLs'
# tests under Wine and their release archive's, and a short run of every fuzz target.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh

# The library's folders are layers; an include that points up fails the run before anything builds.
python3 scripts/check-layers.py

# Exported before building too: test discovery runs the test binaries.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A race fails the run, with the stacks of both accesses (and, for a lock-order inversion, where
# each lock was taken).
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"

# The trees are shared with other scripts, whose cached choices (tests
# switched off, say) would otherwise carry over; say what this run needs.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_TESTS=ON -DVARNEL_WARNINGS_AS_ERRORS=ON
cmake --build build -j2

# CC and CXX only count when a tree is first configured, so a tree that was
# configured with another compiler is started afresh.
for tree in build-sanitize build-tsan; do
  if [[ -f $tree/CMakeCache.txt ]] &&
    ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++$' "$tree/CMakeCache.txt"; then
    rm -rf "$tree"
  fi
done
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON -DVARNEL_BUILD_TESTS=ON -DVARNEL_WARNINGS_AS_ERRORS=ON
cmake --build build-sanitize -j2
# ThreadSanitizer cannot share a process with AddressSanitizer: a tree of its own, optimised and
# with the debug information its reports' stacks need, holding the library and the suite of threads.
CC=clang CXX=clang++ cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_THREAD_SANITIZE=ON -DVARNEL_BUILD_TESTS=ON -DVARNEL_WARNINGS_AS_ERRORS=ON
cmake --build build-tsan -j2

# Every stage runs even if an earlier one fails, so one run shows every failure; each stage's output
# is also kept, so that the end of the run can show again what failed, where a reader of only the
# last lines will look.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
failed=()
stage() {
  local name=$1
  shift
  "$@" 2>&1 | tee "$logs/$name.log" || failed+=("$name")
}
# The 32-bit and 64-bit Windows DLLs, each cross-built and run under Wine, set beside the plain
# tree's pictures, then packed into the release archive and checked there; and every fuzz target
# for a few seconds from its seed corpus (scripts/fuzz.sh 600 for a real run); all first, so that
# the suites' summaries close the output.
stage windows-x86 bash scripts/test-windows.sh x86 build
stage windows-x64 bash scripts/test-windows.sh x64 build
stage windows-archive bash -c 'bash scripts/package-windows.sh && python3 tests/windows/windows_archive_test.py'
stage fuzzing bash scripts/fuzz.sh
stage plain-suite ctest --test-dir build --output-on-failure -j2
stage sanitizer-suite ctest --test-dir build-sanitize --output-on-failure -j2
stage thread-sanitizer-suite ctest --test-dir build-tsan --output-on-failure

((${#failed[@]} == 0)) && exit 0
for name in "${failed[@]}"; do
  echo
  echo "==== $name FAILED; the end of its output:"
  tail -n 30 "$logs/$name.log"
  # A failed test once more, alone, with its output: a pass now means it fails only under load.
  case $name in
    plain-suite) tree=build ;;
    sanitizer-suite) tree=build-sanitize ;;
    thread-sanitizer-suite) tree=build-tsan ;;
    *) continue ;;
  esac
  echo "==== $name: the failed tests run again, one at a time:"
  ctest --test-dir "$tree" --rerun-failed --output-on-failure 2>&1 | tail -n 60 || true
done
echo
echo "==== FAILED: ${failed[*]}"
exit 1
