#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, window and end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
ZK_BENCH=1 ./scripts/build.sh
ctest --test-dir build --output-on-failure -j2 --timeout 300
