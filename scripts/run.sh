#!/usr/bin/env bash
# Installs what is needed, builds, and starts the meter. Without a sensor it starts the
# built-in sensor simulator (--simulate); extra arguments go to zodovaz.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
if [ "$#" -eq 0 ]; then set -- --simulate; fi
exec build/bin/zodovaz "$@"
