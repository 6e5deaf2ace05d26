#!/usr/bin/env bash
# A recording survives a killed program, under a private X server and a private sound
# server with a silent microphone: "Auto Save" into a temporary folder, R, about five
# seconds, kill -9. The next start with the same program folder asks "Recover Recording";
# Yes saves the recording at once as prefix001 — at least three seconds whose readings
# follow the script and whose sound lasts as long as its records. Then a recording stopped
# and saved the normal way leaves no spool behind, and one the system ends with SIGTERM
# keeps it until No at the next start deletes it.
# Usage: recovery_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound

e2e_auto_save_home prefix
SPOOLS="$HOME_DIR/recovery"
cat >"$E2E_TMP/ramp.script" <<'SCRIPT'
0 value 10000
100 ramp 60000 125000
SCRIPT

# The spools in the program folder (set-aside damaged ones do not count).
spools() { ls -d "$SPOOLS"/recording-* 2>/dev/null; }
# About how many seconds a spool holds on disk: a second is its sound (44100 bytes), about
# 50 records of 20 bytes and three chunk headers with a mark (48 bytes).
spool_seconds() { echo $(( $(stat -c %s "$1/data" 2>/dev/null || echo 0) / 45148 )); }

# Waits for the "Recover Recording" question; BOX is its window.
wait_recover() {
  local i
  BOX=""
  for i in $(seq 1 200); do
    BOX=$(xdotool search --onlyvisible --name '^Recover Recording$' 2>/dev/null | head -1)
    [ -n "$BOX" ] && break
    kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended before it asked"
    sleep 0.1
  done
  [ -n "$BOX" ] || fail "no \"Recover Recording\" question at the start"
}

# Waits for the "Recover Recording" question and answers it with key $1 (y or n).
answer_recover() {
  wait_recover
  xdotool windowfocus --sync "$BOX" >/dev/null 2>&1 || xdotool windowfocus "$BOX"
  xdotool key "$1"
}

# Sends SIGTERM and fails unless the program ends within 5 s; $1 says what was open.
terminate_within_5s() {
  local i
  kill -TERM "$ZK_PID"
  for i in $(seq 1 50); do
    kill -0 "$ZK_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ZK_PID" 2>/dev/null && fail "SIGTERM $1 did not end the program"
  wait "$ZK_PID" 2>/dev/null
  ZK_PID=""
}

e2e_servers sound

e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
e2e_find_window || fail "the meter window did not appear"
sleep 1
e2e_focus
xdotool key r
sleep 5
SPOOL=$(spools)
[ -n "$SPOOL" ] || fail "no spool in $SPOOLS while recording"
# A sound server that was slow to start delays the first record: wait for three seconds.
for i in $(seq 1 100); do
  [ "$(spool_seconds "$SPOOL")" -ge 4 ] && break
  sleep 0.1
done
[ "$(spool_seconds "$SPOOL")" -ge 3 ] || fail "the spool holds $(spool_seconds "$SPOOL") s after more than five"
kill -9 "$ZK_PID"
wait "$ZK_PID" 2>/dev/null
ZK_PID=""
[ -e "$REC/prefix001.zkd" ] && fail "a recording was saved although the program was killed"
[ "$(spools)" = "$SPOOL" ] || fail "the spool did not survive the kill"
pass "killed while recording: $(basename "$SPOOL") holds $(spool_seconds "$SPOOL") s"

e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
answer_recover y
pass "the next start asks \"Recover Recording\""
e2e_check_recording "$REC/prefix001"
WAV_MS=$(( ($(stat -c %s "$REC/prefix001.wav") - 44) * 1000 / 44100 ))
[ "$WAV_MS" -ge 3000 ] || fail "the recovered recording lasts only $WAV_MS ms"
[ -z "$(spools)" ] || fail "the spool is still there after the recording was saved: $(spools)"
pass "Yes saved prefix001 ($WAV_MS ms of sound) at once and removed the spool"

e2e_find_window || fail "the meter window did not appear after the question"
sleep 1
e2e_record_for 2 "$REC/prefix002"
e2e_check_recording "$REC/prefix002"
[ -z "$(spools)" ] || fail "a recording stopped and saved left its spool: $(spools)"
pass "a recording stopped and saved leaves no spool"

# The system ends the program (SIGTERM) in the middle of a recording: the window closes
# without questions and the spool stays; at the next start No deletes it.
e2e_focus
xdotool key r
for i in $(seq 1 100); do
  [ "$(spool_seconds "$(spools)")" -ge 2 ] && break
  sleep 0.1
done
terminate_within_5s "while recording"
[ -n "$(spools)" ] || fail "SIGTERM in a recording removed its spool"
# SIGTERM while the question is open ends the program and keeps the spool too.
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
wait_recover
terminate_within_5s "with the recovery question open"
[ -n "$(spools)" ] || fail "SIGTERM with the recovery question open removed the spool"
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
answer_recover n
e2e_find_window || fail "the meter window did not appear after No"
[ -z "$(spools)" ] || fail "No left the spool: $(spools)"
[ -e "$REC/prefix003.zkd" ] && fail "No saved the recording"
pass "SIGTERM while recording kept the spool; No deleted it"
e2e_exit_by_menu || fail "File > Exit did not end the program cleanly"
[ -z "$(ls -A "$SPOOLS")" ] || fail "the recovery folder is not empty: $(ls -A "$SPOOLS")"

# SIGTERM while the exit question about an unsaved recording is open (a close asking its
# questions, when closing the window again does nothing) ends the program at once, and the
# recording's spool stays for the next start.
sed -i 's/^RecordingMode=.*/RecordingMode=2/' "$HOME_DIR/zk3_Zodovaz.ini"
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
e2e_find_window || fail "the meter window did not appear"
e2e_panel
# R until the recording runs (a key pressed before the sensor is live does nothing), then
# two seconds of it.
has_spool() { [ -n "$(spools)" ]; }
for i in 1 2 3 4 5; do
  e2e_focus
  xdotool key r
  e2e_until 20 has_spool && break
done
spool_holds_2s() { [ "$(spool_seconds "$(spools)")" -ge 2 ]; }
e2e_until 100 spool_holds_2s || fail "the recording did not run for two seconds"
# S, and the banner leaves "Recording" once the recording has stopped.
e2e_shot "$E2E_TMP/rec.png"
REC_BANNER=$(e2e_banner_sig "$E2E_TMP/rec.png")
banner_left() {
  e2e_shot "$E2E_TMP/b.png"
  [ "$(e2e_banner_sig "$E2E_TMP/b.png")" != "$REC_BANNER" ]
}
e2e_focus
xdotool key s
e2e_until 50 banner_left || fail "S did not stop the recording"
e2e_focus
xdotool key alt+f
e2e_until 30 e2e_popups_are 1 || fail "Alt+F did not open the File menu"
xdotool key x
for i in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1 || fail "File > Exit did not ask about the unsaved recording"
terminate_within_5s "with the exit question open"
[ -n "$(spools)" ] || fail "SIGTERM with the exit question open removed the spool"

# SIGTERM while a message box is open ends the program at once: here the warning that the
# recording has no spool (the recovery folder is a file, so none can be made).
rm -rf "$SPOOLS"
echo "not a folder" >"$SPOOLS"
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
e2e_find_window || fail "the meter window did not appear"
sleep 1
e2e_focus
xdotool key r
boxes() { xdotool search --onlyvisible --name '^zk3 Zodovaz$' 2>/dev/null | wc -l; }
for i in $(seq 1 100); do
  [ "$(boxes)" -ge 2 ] && break
  sleep 0.1
done
[ "$(boxes)" -ge 2 ] || fail "no warning that the recording has no spool"
terminate_within_5s "with a message box open"
rm -f "$SPOOLS"
pass "SIGTERM with the recovery question, the exit question or a message box open ended the program at once"
