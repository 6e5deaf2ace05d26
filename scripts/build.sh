#!/usr/bin/env bash
# Configures and builds everything into build/ (two parallel jobs). ZK_WERROR=1 makes
# every compiler warning an error (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_WERROR="$([ "${ZK_WERROR:-0}" = 1 ] && echo ON || echo OFF)"
cmake --build build -j2
