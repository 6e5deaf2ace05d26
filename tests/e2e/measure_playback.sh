#!/usr/bin/env bash
# Prints the CPU time (user + system) zodovaz takes while playing a recording of 50
# records a second with its sound, under a private X server and sound server, next to
# the same span idle in demonstration mode with the recording loaded, and how late the
# records were drawn on the sound clock. It measures; it asserts nothing.
# Usage: measure_playback.sh BIN_DIR [SECONDS]
set -uo pipefail
BIN=$(cd "$1" && pwd)
SPAN=${2:-30}
. "$(dirname "$0")/lib.sh"
e2e_begin
mkdir -p "$E2E_TMP/home"
"$BIN/zk_make_sweep" "$E2E_TMP/sweep" $(( SPAN + 10 )) || exit 1
e2e_servers sound

ZK_PLAYBACK_TRACE="$E2E_TMP/trace" e2e_start_meter --home "$E2E_TMP/home" "$E2E_TMP/sweep.zkd"
e2e_find_window || fail "the meter window did not appear"
sleep 3
echo "demonstration mode, recording loaded, ${SPAN} s: $(e2e_cpu_over "$ZK_PID" "$SPAN")"

e2e_focus
xdotool key p
sleep 4
echo "playing with sound, ${SPAN} s: $(e2e_cpu_over "$ZK_PID" "$SPAN")"
awk '$1 >= 1000 { print $2 - $1 }' "$E2E_TMP/trace" | sort -n >"$E2E_TMP/late"
N=$(wc -l <"$E2E_TMP/late")
echo "lateness of $N records on the sound clock: median $(sed -n "$(( (N + 1) / 2 ))p" "$E2E_TMP/late") ms," \
  "99th percentile $(sed -n "$(( (N * 99 + 99) / 100 ))p" "$E2E_TMP/late") ms"
