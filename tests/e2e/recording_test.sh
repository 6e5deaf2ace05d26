#!/usr/bin/env bash
# Recording as a person does it, under a private X server and a private sound server
# with a silent microphone: "Auto Save" into a temporary folder, R, about four seconds,
# S — the recording and its sound are on disk, numbered, and match; then the sensor is
# unplugged in the middle of a recording, which stops by itself and is saved.
# Usage: recording_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_need
for t in pulseaudio pactl; do
  command -v "$t" >/dev/null 2>&1 || { echo "SKIP: $t is not installed" >&2; exit 77; }
done
E2E_TMP=$(mktemp -d)
trap e2e_cleanup EXIT

HOME_DIR="$E2E_TMP/home"
REC="$E2E_TMP/recordings"
mkdir -p "$HOME_DIR" "$REC"
cat >"$HOME_DIR/zk3_Zodovaz.ini" <<INI
[Recording]
SavePath=$REC/
SavePrefix=take_
RecordingMode=3
SuffixType=0
SuffixNum=1
AudioEnable=True
INI

e2e_start_x || fail "Xvfb did not start"
e2e_sound_start || fail "the sound server did not start"

# Records rise 20 a message from 10000: the readings of a recording follow the script.
cat >"$E2E_TMP/ramp.script" <<'SCRIPT'
0 value 10000
100 ramp 60000 125000
SCRIPT

# The values of one column of a recording's records (zodovaz-zkd csv, header line skipped).
column() { "$BIN/zodovaz-zkd" csv "$1" | awk -F, -v c="$2" 'NR > 1 { print $c }'; }

# Waits up to $2 tenths of a second for file $1.
wait_file() {
  local i
  for i in $(seq 1 "$2"); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Checks recording $1 (base path): it verifies, its readings rise with the script, and
# its sound lasts as long as its records: within a second, or with the sound up to $2 ms
# longer (the sound runs on until the watchdog misses the readings).
check_recording() {
  local base=$1 zkd=$1.zkd wav=$1.wav longer=${2:-1000}
  wait_file "$wav" 100 || fail "no $wav"
  wait_file "$zkd" 100 || fail "no $zkd"
  sleep 0.3
  "$BIN/zodovaz-zkd" verify "$zkd" >/dev/null || fail "$zkd does not verify: $("$BIN/zodovaz-zkd" verify "$zkd" 2>&1)"
  local raws n first last
  raws=$(column "$zkd" 3)
  n=$(echo "$raws" | wc -l)
  [ "$n" -ge 50 ] || fail "$zkd holds only $n records"
  first=$(echo "$raws" | head -1)
  last=$(echo "$raws" | tail -1)
  echo "$raws" | awk 'NR > 1 && $1 < prev { bad = 1 } { prev = $1 } END { exit bad }' ||
    fail "the raw readings of $zkd do not rise with the script"
  [ "$first" -ge 10000 ] && [ "$last" -le 60000 ] && [ "$last" -gt "$first" ] ||
    fail "the raw readings of $zkd ($first .. $last) do not follow the script"
  local last_ms wav_bytes wav_ms
  last_ms=$(column "$zkd" 2 | tail -1)
  wav_bytes=$(stat -c %s "$wav")
  wav_ms=$(( (wav_bytes - 44) * 1000 / 44100 ))  # 16-bit mono at 22050 samples a second
  [ $(( wav_ms - last_ms )) -le "$longer" ] && [ $(( last_ms - wav_ms )) -le 1000 ] ||
    fail "$wav lasts $wav_ms ms but the last record is at $last_ms ms"
  pass "$(basename "$base"): $n records rising $first .. $last, sound $wav_ms ms, last record at $last_ms ms"
}

# R, $1 seconds, S; waits for recording $2 to be saved. On a loaded machine the sound may
# take longer than usual to start, and an S pressed before the recording runs does
# nothing, so S is pressed again every two seconds until the file is there.
record_for() {
  local i
  e2e_focus
  xdotool key r
  sleep "$1"
  for i in 1 2 3 4 5; do
    e2e_focus
    xdotool key s
    wait_file "$2.zkd" 20 && return 0
  done
  fail "recording $2 was not saved"
}

e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
e2e_find_window || fail "the meter window did not appear"
sleep 1

record_for 4 "$REC/take_001"
check_recording "$REC/take_001"
record_for 2 "$REC/take_002"
check_recording "$REC/take_002"
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
GONE=""
for i in $(seq 1 150); do
  if ! pgrep -f "zodovaz-sim --script $E2E_TMP/unplug.script" >/dev/null; then
    GONE=$(date +%s%N)
    break
  fi
  sleep 0.1
done
[ -n "$GONE" ] || fail "the simulator did not disconnect"
wait_file "$REC/take_003.zkd" 60 || fail "the recording did not stop and save itself after the sensor went"
SAVED=$(date +%s%N)
check_recording "$REC/take_003" 4000
WAITED=$(( (SAVED - GONE) / 1000000 ))
[ "$WAITED" -le 3000 ] || fail "the recording was saved $WAITED ms after the sensor went"
pass "unplugged in a recording: stopped and saved $WAITED ms later"
