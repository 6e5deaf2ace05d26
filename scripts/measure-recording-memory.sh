#!/usr/bin/env bash
# Prints zodovaz's resident memory (VmRSS) every 30 s while it records with sound from the
# simulator, under a private X server and sound server, and at the end how far the last
# figure lies from the one after the first minute. It measures; it asserts nothing.
# Usage: scripts/measure-recording-memory.sh [BIN_DIR [MINUTES]]   (default build/bin, 10)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN=$(cd "${1:-$ROOT/build/bin}" && pwd)
MINUTES=${2:-10}
. "$ROOT/tests/e2e/lib.sh"
e2e_begin sound
e2e_auto_save_home mem_
e2e_servers sound

rss() { awk '/VmRSS/ { print $2 }' "/proc/$ZK_PID/status"; }

e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --pattern --sim-arg drift
e2e_find_window || fail "the meter window did not appear"
sleep 3
echo "before recording: VmRSS $(rss) kB"
e2e_focus
xdotool key r
AT1=""
for (( t = 30; t <= MINUTES * 60; t += 30 )); do
  sleep 30
  kill -0 "$ZK_PID" 2>/dev/null || fail "zodovaz ended during the recording"
  NOW=$(rss)
  [ "$t" -eq 60 ] && AT1=$NOW
  printf 'recording %4d s: VmRSS %s kB\n' "$t" "$NOW"
done
[ -n "$AT1" ] && echo "after ${MINUTES} min: $(( (NOW - AT1) / 1024 )) MiB more than after 1 min ($(( NOW - AT1 )) kB)"
e2e_focus
xdotool key s
e2e_wait_file "$REC/mem_001.zkd" 600 || fail "the recording was not saved"
echo "saved: $(ls -l "$REC" | awk 'NR > 1 { print $5, $9 }' | tr '\n' ' ')"
echo "peak (VmHWM): $(awk '/VmHWM/ { print $2 }' "/proc/$ZK_PID/status") kB"
