#!/usr/bin/env bash
# Two copies of the program on one program folder, recording at the same time in "Auto
# Save" mode: both started with the counter at 1, yet each recording is saved under a
# number of its own — take_001 and take_002, one from each copy, each whole with the
# sound of its own microphone — neither replaces the other, the settings file holds the
# next number 3, no recovery spool is left behind, and both copies end cleanly on
# SIGTERM. Started again after both have ended, the program records take_003.
# Usage: two_copies_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound

# The lib ends only the copy in ZK_PID; the other one goes too.
FIRST_PID="" SECOND_PID="" FIRST_WIN="" SECOND_WIN=""
end_copies() {
  local p
  for p in "$FIRST_PID" "$SECOND_PID"; do
    [ -n "$p" ] && [ "$p" != "${ZK_PID:-}" ] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
  e2e_cleanup
}
trap end_copies EXIT

e2e_auto_save_home take_
e2e_servers sound
INI="$HOME_DIR/zk3_Zodovaz.ini"
SPOOLS="$HOME_DIR/recovery"

# The two sensors read differently: the first rises from 10000, the second from 30000 (the
# first would need 50 s to get there), so a recording's first reading tells which copy
# made it.
cat >"$E2E_TMP/first.script" <<'SCRIPT'
0 value 10000
100 ramp 60000 125000
SCRIPT
cat >"$E2E_TMP/second.script" <<'SCRIPT'
0 value 30000
100 ramp 60000 125000
SCRIPT

# Starts a copy with sensor script $1; its log becomes zodovaz-$2.log (zodovaz-$1.log).
# Leaves ZK_PID and WIN set to it.
start_copy() {
  e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/$1.script"
  mv "$E2E_TMP/zodovaz.log" "$E2E_TMP/zodovaz-${2:-$1}.log"
  e2e_find_own_window || fail "the window of the ${2:-$1} copy did not appear"
}
as_first() { ZK_PID=$FIRST_PID WIN=$FIRST_WIN; }
as_second() { ZK_PID=$SECOND_PID WIN=$SECOND_WIN; }

start_copy first
FIRST_PID=$ZK_PID FIRST_WIN=$WIN
start_copy second
SECOND_PID=$ZK_PID SECOND_WIN=$WIN
[ "$FIRST_WIN" != "$SECOND_WIN" ] || fail "both copies report one window"
# Side by side rather than one over the other.
xdotool windowmove "$SECOND_WIN" 640 0
sleep 1

# A copy is recording while its spool (recovery/recording-<start>-<pid>) exists; the
# spool goes when the recording is saved.
spool_of() { compgen -G "$SPOOLS/recording-*-$1" >/dev/null; }
both_recording() { spool_of "$FIRST_PID" && spool_of "$SECOND_PID"; }
none_recording() { ! spool_of "$FIRST_PID" && ! spool_of "$SECOND_PID"; }

# Each copy records its own microphone: the first copy's capture is moved to a tone as
# soon as it opens, the second's stays on the silent one.
pactl load-module module-sine-source source_name=e2e_tone frequency=440 >/dev/null || fail "no tone source"
capture() { pactl list short source-outputs | awk 'NR == 1 { print $1 }'; }
capturing() { [ -n "$(capture)" ]; }
as_first; e2e_focus; xdotool key r
e2e_until 150 capturing || fail "the first copy did not open the microphone"
pactl move-source-output "$(capture)" e2e_tone || fail "the first copy's capture did not move to the tone"
as_second; e2e_focus; xdotool key r
e2e_until 150 both_recording || fail "the two copies were not recording at the same time"
pass "both copies are recording at once"
sleep 3

# S to each copy still recording; on a loaded machine a key may come before the copy can
# take it, so S goes again to any copy whose recording is not saved two seconds later.
for _ in 1 2 3 4 5; do
  spool_of "$FIRST_PID" && { as_first; e2e_focus; xdotool key s; }
  spool_of "$SECOND_PID" && { as_second; e2e_focus; xdotool key s; }
  e2e_until 20 none_recording && break
done
none_recording || fail "the recordings were not both saved (spools left: $(ls "$SPOOLS"))"

e2e_check_recording "$REC/take_001"
e2e_check_recording "$REC/take_002"
FILES=$(cd "$REC" && ls | tr '\n' ' ')
[ "$FILES" = "take_001.wav take_001.zkd take_002.wav take_002.zkd " ] ||
  fail "the recordings folder holds $FILES rather than the two recordings"
cmp -s "$REC/take_001.zkd" "$REC/take_002.zkd" && fail "take_001.zkd and take_002.zkd are the same recording"
# One recording from each copy: one starts below 30000 (the first copy's), one at 30000 or
# above (the second's); the first copy's sound holds the tone, the second's is silent.
# (The sound ends on the records' last whole second, so two silent tracks of one length
# would be the same bytes: the microphones tell the copies' sounds apart.)
has_sound() { [ "$(tail -c +45 "$1" | tr -d '\0' | head -c 1 | wc -c)" -eq 1 ]; }
FROM=""
for t in 001 002; do
  first=$(e2e_zkd_column "$REC/take_$t.zkd" 3 | head -1)
  if [ "$first" -lt 30000 ]; then
    FROM="$FROM first"
    has_sound "$REC/take_$t.wav" || fail "take_$t.wav, the first copy's, does not hold its microphone's tone"
  else
    FROM="$FROM second"
    has_sound "$REC/take_$t.wav" && fail "take_$t.wav, the second copy's, holds sound from the first's microphone"
  fi
done
[ "$FROM" = " first second" ] || [ "$FROM" = " second first" ] ||
  fail "take_001 and take_002 are not one recording of each copy (they are from:$FROM)"
pass "take_001 and take_002 hold one recording of each copy (from:$FROM), each with its own sound, neither replaced"
e2e_until 50 grep -q '^SuffixNum=3' "$INI" ||
  fail "the settings file holds $(grep '^SuffixNum' "$INI") after both saves, not the next number 3"
pass "the settings file holds the next number 3"

# The copy that saved take_001 ends last: it writes its settings at the exit too, and
# what it knew of the counter may be older than the file. Whatever the file says then,
# the next recording must take a free number.
set -- $FROM
for copy in "$2" "$1"; do
  as_$copy
  kill -TERM "$ZK_PID"
  e2e_wait_end || fail "the $copy copy did not end on SIGTERM"
  [ "$RC" -eq 0 ] || fail "the $copy copy ended with $RC on SIGTERM"
  if [ "$copy" = first ]; then FIRST_PID=""; else SECOND_PID=""; fi
done
compgen -G "$SPOOLS/recording-*" >/dev/null && fail "a recovery spool was left behind: $(ls "$SPOOLS")"
pass "both copies ended cleanly on SIGTERM, no spool left behind ($(grep '^SuffixNum' "$INI") in the settings file)"

BEFORE=$(cat "$REC"/take_00[12].* | md5sum)
start_copy first again
sleep 1
e2e_record_for 3 "$REC/take_003"
e2e_check_recording "$REC/take_003"
[ "$(cat "$REC"/take_00[12].* | md5sum)" = "$BEFORE" ] || fail "the next recording replaced take_001 or take_002"
e2e_until 50 grep -q '^SuffixNum=4' "$INI" || fail "the settings do not carry the number past take_003"
kill -TERM "$ZK_PID"
e2e_wait_end || fail "the last copy did not end on SIGTERM"
[ "$RC" -eq 0 ] || fail "the last copy ended with $RC on SIGTERM"
pass "started again afterwards, the next recording is take_003 and replaces nothing"
