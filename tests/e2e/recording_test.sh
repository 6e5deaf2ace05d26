#!/usr/bin/env bash
# Recording as a person does it, under a private X server and a private sound server
# with a silent microphone: "Auto Save" into a temporary folder, R, about four seconds,
# S — the recording and its sound are on disk, numbered, and match; then the sensor is
# unplugged in the middle of a recording, which stops by itself and is saved.
# Usage: recording_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound

e2e_auto_save_home take_

e2e_servers sound

e2e_start_ramp_meter

e2e_record_for 4 "$REC/take_001"
e2e_check_recording "$REC/take_001"
e2e_record_for 2 "$REC/take_002"
e2e_check_recording "$REC/take_002"
ls "$REC" | grep -q 'take_003' && fail "a third recording appeared"

# Leaving the program keeps the counter for the next start.
e2e_exit_by_menu || fail "File > Exit did not end the program cleanly"
grep -q '^SuffixNum=3' "$HOME_DIR/zk3_Zodovaz.ini" || fail "the settings do not carry the next number 3"
pass "two recordings numbered 001 and 002; the next number is kept"

# The sensor is unplugged 6 s into its stream, in the middle of a recording.
cat >"$E2E_TMP/unplug.script" <<'SCRIPT'
0 value 10000
100 ramp 60000 125000
6000 disconnect
SCRIPT
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/unplug.script"
e2e_find_window || fail "the meter window did not appear the second time"
sleep 1
e2e_focus
xdotool key r
sim_gone() { ! pgrep -f "zodovaz-sim --script $E2E_TMP/unplug.script" >/dev/null; }
e2e_until 150 sim_gone || fail "the simulator did not disconnect"
e2e_wait_file "$REC/take_003.zkd" 60 || fail "the recording did not stop and save itself after the sensor went"
# How soon the watchdog stops is measured on virtual time by the unit tests; here the
# recording must end where the readings did: its sound no more than 4 s past its records.
e2e_check_recording "$REC/take_003" 4000
pass "unplugged in a recording: stopped and saved itself"
