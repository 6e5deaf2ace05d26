#!/usr/bin/env bash
# Prints the CPU time (user + system) zodovaz takes while recording with sound, under a
# private X server and sound server, with the simulator at 50 readings a second, next to
# the same span of live display without recording. It measures; it asserts nothing.
# Usage: measure_recording.sh BIN_DIR [SECONDS]
set -uo pipefail
BIN=$(cd "$1" && pwd)
SPAN=${2:-30}
. "$(dirname "$0")/lib.sh"
e2e_begin
e2e_auto_save_home take_
e2e_servers sound

e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --pattern --sim-arg drift
e2e_find_window || fail "the meter window did not appear"
sleep 3
echo "live display, ${SPAN} s: $(e2e_cpu_over "$ZK_PID" "$SPAN")"

e2e_focus
xdotool key r
sleep 3
C2=$(e2e_cpu_ticks "$ZK_PID")
RSS0=$(awk '/VmRSS/ { print $2 }' "/proc/$ZK_PID/status")
sleep "$SPAN"
C3=$(e2e_cpu_ticks "$ZK_PID")
RSS1=$(awk '/VmRSS/ { print $2 }' "/proc/$ZK_PID/status")
echo "recording with sound, ${SPAN} s: $(e2e_cpu_text "$C2" "$C3" "$SPAN");" \
  "resident memory grew $(( (RSS1 - RSS0) / 1024 )) MiB"
e2e_focus
xdotool key s
sleep 3
ls -l "$E2E_TMP/recordings"
