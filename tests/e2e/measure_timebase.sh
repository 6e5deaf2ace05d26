#!/usr/bin/env bash
# Measures how close a recording's readings lie to the sound that happened with them, under
# a private X server and sound server: the rig (zk_timebase_rig) is both the sensor, on a
# pseudo-terminal, and the microphone, a pipe source fed in real time in blocks of a chosen
# size with a click at the sound of each step of the reading. A recording is made with R
# and S and read back: for every record, its TimeMs minus the sound of its message (negative:
# the sound is late), and how often TimeMs went back. It measures; it asserts nothing.
# Usage: measure_timebase.sh BIN_DIR [SECONDS [BLOCK_MS ...]]   (default 30 s, 150 and 20 ms)
# ZK_RIG names another rig program (to measure an older build that has none).
set -uo pipefail
BIN=$(cd "$1" && pwd)
SPAN=${2:-30}
BLOCKS=("${@:3}")
[ ${#BLOCKS[@]} -gt 0 ] || BLOCKS=(150 20)
RIG=${ZK_RIG:-$BIN/zk_timebase_rig}
. "$(dirname "$0")/lib.sh"
e2e_begin sound
[ -x "$RIG" ] || fail "no rig program $RIG"
e2e_servers sound
# The program records from the machine's first microphone: the rig's must be the only one.
pactl unload-module module-null-source

for B in "${BLOCKS[@]}"; do
  e2e_auto_save_home "tb${B}_"
  # The session file: the sensor on port 1 (the other lines as a first start writes them).
  printf '"%s"\r\n2\r\n1\r\n8\r\n4800\r\n0\r\n9600\r\n0\r\n' "$HOME_DIR/zk3_Zodovaz.ini" >"$HOME_DIR/zk3_Zodovaz.cfg"
  FIFO="$E2E_TMP/mic$B.fifo"
  MODULE=$(pactl load-module module-pipe-source source_name="rig$B" file="$FIFO" format=s16le rate=22050 channels=1) ||
    fail "no pipe source"
  pactl set-default-source "rig$B"
  # A source nobody records from does not read its pipe: a second client keeps it reading
  # in real time, so that no stale sound waits in the pipe when the recording starts.
  parec --device="rig$B" >/dev/null 2>&1 &
  DRAIN_PID=$!
  "$RIG" feed "$FIFO" "$B" "$E2E_TMP/rig$B.log" >"$E2E_TMP/rig$B.out" 2>&1 &
  RIG_PID=$!
  e2e_wait_file "$E2E_TMP/rig$B.out" 50 || fail "the rig did not start: $(cat "$E2E_TMP/rig$B.out")"
  PTY=$(head -n 1 "$E2E_TMP/rig$B.out")

  e2e_start_meter --home "$HOME_DIR" --port "1=$PTY"
  e2e_find_window || fail "the meter window did not appear"
  sleep 4  # the handshake and the stream
  e2e_record_for "$SPAN" "$REC/tb${B}_001"
  e2e_wait_file "$REC/tb${B}_001.wav" 100 || fail "no sound saved"
  sleep 1
  "$BIN/zodovaz-zkd" csv "$REC/tb${B}_001.zkd" >"$E2E_TMP/tb$B.csv"
  echo "${B} ms sound blocks, ${SPAN} s: $("$RIG" analyse "$E2E_TMP/rig$B.log" "$E2E_TMP/tb$B.csv" "$REC/tb${B}_001.wav")"
  WARN=$("$BIN/zodovaz-zkd" info "$REC/tb${B}_001.zkd" | grep Warning)
  echo "  zodovaz-zkd info: ${WARN:-no warning}"

  kill "$ZK_PID" 2>/dev/null && wait "$ZK_PID" 2>/dev/null
  ZK_PID=""
  kill "$RIG_PID" "$DRAIN_PID" 2>/dev/null
  wait "$RIG_PID" "$DRAIN_PID" 2>/dev/null
  pactl unload-module "$MODULE"
done
