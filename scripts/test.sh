#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, window and end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
ctest --test-dir build --output-on-failure -j2 --timeout 300
