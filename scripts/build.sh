#!/usr/bin/env bash
# Configures and builds everything into build/ (two parallel jobs). ZK_WERROR=1 makes
# every compiler warning an error (CI sets it); ZK_BENCH=1 adds the benchmarks and the
# measurement rigs (the test command sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache, when there is one, makes a rebuild after a branch switch quick.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Paths relative to the checkout, so that another clone or worktree shares the cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DZK_WERROR="$([ "${ZK_WERROR:-0}" = 1 ] && echo ON || echo OFF)" \
  -DZK_BENCH="$([ "${ZK_BENCH:-0}" = 1 ] && echo ON || echo OFF)"
cmake --build build -j2
