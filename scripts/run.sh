#!/usr/bin/env bash
# Installs what is needed, builds, and starts the meter. Without a sensor it starts the
# built-in sensor simulator (--simulate); extra arguments go to zodovaz.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
if [ ! -x build/bin/zodovaz ]; then
  echo "The zodovaz window is not part of this build yet; the libraries and tools are built in build/bin." >&2
  exit 0
fi
if [ "$#" -eq 0 ]; then set -- --simulate; fi
exec build/bin/zodovaz "$@"
