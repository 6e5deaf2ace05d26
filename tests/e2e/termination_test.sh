#!/usr/bin/env bash
# A termination signal ends the program even when its shut-down cannot write the session
# file (a folder stands in its place): no box waits for OK, the failure is on the
# standard error, and the program is gone within a second or two. Then the same with two
# signals sent at once: the second one does not start a second shut-down.
# Usage: termination_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin

HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
CFG="$HOME_DIR/zk3_Zodovaz.cfg"
e2e_servers

# Waits up to two seconds for the program to end; fails with $1 when it does not.
ended_within_2s() {
  local i
  for i in $(seq 1 20); do
    kill -0 "$ZK_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$ZK_PID" 2>/dev/null; then
    xdotool search --onlyvisible --name '^Save Config File$' >/dev/null 2>&1 && echo "a box waits for OK" >&2
    fail "SIGTERM $1 did not end the program within two seconds"
  fi
  wait "$ZK_PID"
  RC=$?
  ZK_PID=""
}

# Starts the meter in demonstration mode and puts a folder where the session file goes.
start_with_unwritable_session() {
  e2e_start_meter --home "$HOME_DIR"
  e2e_find_window || fail "the meter window did not appear"
  [ -f "$CFG" ] || fail "start-up wrote no session file"
  rm -rf "$CFG"
  mkdir "$CFG"
}

start_with_unwritable_session
kill -TERM "$ZK_PID"
ended_within_2s "with an unwritable session file"
[ "$RC" = 0 ] || fail "the program ended with exit code $RC"
grep -q "Error Saving Session Config File" "$E2E_TMP/zodovaz.log" ||
  fail "the failure to write the session file is not on the standard error"
[ -d "$CFG" ] || fail "the folder in the session file's place was replaced"
pass "SIGTERM with an unwritable session file ends the program and says why"

rmdir "$CFG"
start_with_unwritable_session
kill -TERM "$ZK_PID"
kill -TERM "$ZK_PID"
ended_within_2s "twice"
[ "$(grep -c "Error Saving Session Config File" "$E2E_TMP/zodovaz.log")" -le 1 ] ||
  fail "the second signal started a second shut-down"
pass "two signals at once end the program once"
