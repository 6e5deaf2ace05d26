#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
# (GCC, -DZK_SANITIZE=ON) and runs the unit and window tests there. The end-to-end and
# install tests stay with the normal build. Any sanitizer report fails the test it
# happens in. Extra arguments go to the configure step (CI adds -DZK_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Paths relative to the checkout, so that another clone or worktree shares the cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_SANITIZE=ON "${launcher[@]}" "$@" >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0}
ctest --test-dir build-asan --output-on-failure -j2 --timeout 600 -L 'unit|window'
