#!/usr/bin/env bash
# Automatic names after a crash, with real files: "Auto Save" records take_001, the
# settings file holds the next number at once (before any exit); the program is killed;
# even with the counter set back (as a copy of the program that kept it only until its
# exit would leave it) the next recording takes a free number and replaces nothing.
# Usage: naming_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound

e2e_auto_save_home take_
e2e_servers sound

INI="$HOME_DIR/zk3_Zodovaz.ini"

e2e_start_ramp_meter
e2e_record_for 3 "$REC/take_001"
e2e_check_recording "$REC/take_001"
e2e_until 50 grep -q '^SuffixNum=2' "$INI" || fail "the next number was not kept in the settings at the save"
pass "the next number is in the settings file as soon as take_001 is saved"

kill -9 "$ZK_PID"
wait "$ZK_PID" 2>/dev/null
ZK_PID=""
BEFORE=$(cat "$REC/take_001.zkd" "$REC/take_001.wav" | md5sum)
sed -i 's/^SuffixNum=.*/SuffixNum=1/' "$INI"

e2e_start_ramp_meter
e2e_record_for 3 "$REC/take_002"
e2e_check_recording "$REC/take_002"
[ "$(cat "$REC/take_001.zkd" "$REC/take_001.wav" | md5sum)" = "$BEFORE" ] || fail "take_001 was replaced"
e2e_until 50 grep -q '^SuffixNum=3' "$INI" || fail "the settings do not carry the number past take_002"
pass "after kill -9 the next recording is take_002 and take_001 is untouched"
