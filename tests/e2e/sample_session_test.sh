#!/usr/bin/env bash
# The sample session as a new user meets it: named on the command line, it loads with its
# sound, P plays it (records shown in order, as fast as the sound runs), and the program
# ends cleanly on SIGTERM during the playback.
# Usage: sample_session_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
SAMPLE="$BIN/samples/sample-session.zkd"
[ -f "$SAMPLE" ] || { echo "SKIP: the build made no sample session" >&2; exit 77; }
e2e_begin sound
HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
e2e_servers sound
TRACE="$E2E_TMP/trace"
ZK_PLAYBACK_TRACE="$TRACE" e2e_start_meter --home "$HOME_DIR" "$SAMPLE"
e2e_find_window || fail "the meter window did not appear"
e2e_focus
xdotool key p
e2e_wait_file "$TRACE" 100 || fail "P did not start the sample session"
sleep 3
kill -0 "$ZK_PID" 2>/dev/null || fail "zodovaz ended while playing the sample session"
shown=$(wc -l <"$TRACE")
last=$(tail -n 1 "$TRACE" | awk '{ print $1 }')
[ "$shown" -ge 50 ] || fail "only $shown records were shown in three seconds"
[ "${last:-0}" -ge 1000 ] || fail "three seconds in, the player shows the record at $last ms"
awk 'NR > 1 && $1 < before { bad = 1 } { before = $1 } END { exit bad }' "$TRACE" ||
  fail "the records were shown out of order"
pass "the sample session plays: $shown records, up to $last ms"

kill -TERM "$ZK_PID"
e2e_wait_end || fail "zodovaz did not end on SIGTERM during the sample session"
[ "$RC" -eq 0 ] || fail "zodovaz ended with $RC on SIGTERM during the sample session"
pass "zodovaz ends cleanly during the sample session"
