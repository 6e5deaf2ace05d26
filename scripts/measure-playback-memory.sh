#!/usr/bin/env bash
# Prints zodovaz's memory (VmRSS now, VmHWM the peak) while it loads a long recording with
# its sound and plays it, under a private X server and sound server. The recording is made
# first by the sweep generator (50 records a second and a tone as long). It measures; it
# asserts nothing.
# Usage: scripts/measure-playback-memory.sh [BIN_DIR [HOURS [PLAY_SECONDS]]]   (build/bin, 10, 60)
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN=$(cd "${1:-$ROOT/build/bin}" && pwd)
HOURS=${2:-10}
PLAY=${3:-60}
. "$ROOT/tests/e2e/lib.sh"
e2e_begin sound
mkdir -p "$E2E_TMP/home"
"$BIN/zk_make_sweep" "$E2E_TMP/long" $(( HOURS * 3600 )) || fail "the recording could not be made"
echo "recording of ${HOURS} h: $(du -h "$E2E_TMP/long.zkd" | cut -f1) of records, $(du -h "$E2E_TMP/long.wav" | cut -f1) of sound"
e2e_servers sound

mem() { awk '/VmRSS|VmHWM/ { printf "%s %s kB  ", $1, $2 }' "/proc/$ZK_PID/status"; }

e2e_start_meter --home "$E2E_TMP/home" "$E2E_TMP/long.zkd"
e2e_find_window || fail "the meter window did not appear"
sleep 5
echo "loaded:             $(mem)"
e2e_focus
xdotool key p
for (( t = 10; t <= PLAY; t += 10 )); do
  sleep 10
  kill -0 "$ZK_PID" 2>/dev/null || fail "zodovaz ended during the playback"
  printf 'playing %4d s:    %s\n' "$t" "$(mem)"
done
