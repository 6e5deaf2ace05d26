#!/usr/bin/env bash
# Prints two figures of the live meter under a private X server with the simulator at 50
# readings a second: the time from start to the first drawn needle, and the CPU time
# (user + system) zodovaz takes over 30 s of live display. It measures; it asserts nothing.
# Usage: measure_live.sh BIN_DIR [SECONDS]
set -uo pipefail
BIN=$(cd "$1" && pwd)
SECONDS_LIVE=${2:-30}
. "$(dirname "$0")/lib.sh"
e2e_begin
mkdir -p "$E2E_TMP/home"
e2e_servers

now() { date +%s.%N; }

# Screenshots as fast as they come (about ten a second) for the first seconds, examined
# afterwards so that the examining does not slow the sampling.
T0=$(now)
e2e_start_meter --home "$E2E_TMP/home" --simulate
n=0
while [ "$(echo "$(now) - $T0 < 6" | bc)" = 1 ]; do
  n=$((n + 1))
  import -window root "$E2E_TMP/s$n.png" 2>/dev/null
  echo "$n $(echo "$(now) - $T0" | bc)" >>"$E2E_TMP/times"
done
e2e_find_window || fail "the meter window did not appear"
e2e_panel
FIRST=""
while read -r i t; do
  [ -f "$E2E_TMP/s$i.png" ] || continue
  if [ -n "$(e2e_needle_x "$E2E_TMP/s$i.png")" ]; then FIRST=$t; break; fi
done <"$E2E_TMP/times"
if [ -n "$FIRST" ]; then
  echo "start-up to first drawn needle: $FIRST s (screenshots about 0.1 s apart)"
else
  echo "no needle within the first 6 s" >&2
  exit 1
fi

sleep 2
echo "CPU over ${SECONDS_LIVE} s of live display: $(e2e_cpu_over "$ZK_PID" "$SECONDS_LIVE")"
