#!/usr/bin/env bash
# The sound server goes away in the middle of a recording: the program goes on recording
# on its clock, the stop saves the recording whole, and the records and the sound end on
# the same second (the inspector accepts the pair).
# Usage: sound_server_loss_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound

e2e_auto_save_home lost_
e2e_servers sound
e2e_start_ramp_meter

e2e_focus
xdotool key r
sleep 3
kill "$PULSE_PID"
wait "$PULSE_PID" 2>/dev/null
PULSE_PID=""
sleep 4
kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended when the sound server went away"

# S stops the recording; the notice that the sound input stopped is answered when it comes.
for i in 1 2 3 4 5 6; do
  e2e_focus
  xdotool key s
  e2e_wait_file "$REC/lost_001.zkd" 20 && break
  xdotool key Return
  e2e_wait_file "$REC/lost_001.zkd" 10 && break
done
kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended at the stop"
e2e_check_recording "$REC/lost_001"
last_ms=$(e2e_zkd_column "$REC/lost_001.zkd" 2 | tail -1)
[ "$last_ms" -ge 5000 ] || fail "the recording ended at $last_ms ms, when the sound server went away"
pass "recording went on after the sound server went away: last record at $last_ms ms"
