#!/usr/bin/env bash
# Prints the CPU time (user + system) two copies of zodovaz take while recording with
# sound over the same span, side by side: one keeping the recovery spool, one started with
# --no-spool. Both run under one private X server and sound server, each with its own
# program folder and its own simulator at 50 readings a second. It measures; it asserts
# nothing.
# Usage: measure_spool.sh BIN_DIR [SECONDS]
set -uo pipefail
BIN=$(cd "$1" && pwd)
SPAN=${2:-60}
. "$(dirname "$0")/lib.sh"
e2e_need
e2e_need_sound
E2E_TMP=$(mktemp -d)
PIDS=()
cleanup() {
  local p
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  e2e_cleanup
}
trap cleanup EXIT
e2e_servers sound

for name in spool nospool; do
  mkdir -p "$E2E_TMP/$name/recordings"
  cat >"$E2E_TMP/$name/zk3_Zodovaz.ini" <<INI
[Recording]
SavePath=$E2E_TMP/$name/recordings/
RecordingMode=3
SuffixType=0
AudioEnable=True
INI
done
"$BIN/zodovaz" --home "$E2E_TMP/spool" --simulate --sim-arg --pattern --sim-arg drift >"$E2E_TMP/spool.log" 2>&1 &
PIDS+=($!)
"$BIN/zodovaz" --home "$E2E_TMP/nospool" --no-spool --simulate --sim-arg --pattern --sim-arg drift \
  >"$E2E_TMP/nospool.log" 2>&1 &
PIDS+=($!)

window_of() {
  local i w
  for i in $(seq 1 100); do
    w=$(xdotool search --all --onlyvisible --pid "$1" --name '^zk3 Zodovaz$' 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
press() {
  xdotool windowfocus --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1"
  xdotool key "$2"
}
# The window shows while it loads and again once placed: look for it once it has settled.
sleep 3
W=()
for p in "${PIDS[@]}"; do
  w=$(window_of "$p") || { echo "no window for $p" >&2; exit 1; }
  W+=("$w")
done
for w in "${W[@]}"; do press "$w" r; sleep 0.5; done
sleep 4

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)
A0=$(cpu_ticks "${PIDS[0]}")
B0=$(cpu_ticks "${PIDS[1]}")
sleep "$SPAN"
A1=$(cpu_ticks "${PIDS[0]}")
B1=$(cpu_ticks "${PIDS[1]}")
pct() { echo "scale=2; 100 * ($2 - $1) / $HZ / $SPAN" | bc; }
echo "recording with sound for ${SPAN} s, the same span for both:"
echo "  with the spool:    $(echo "scale=2; ($A1 - $A0) / $HZ" | bc) s CPU = $(pct "$A0" "$A1") % of one core"
echo "  without (--no-spool): $(echo "scale=2; ($B1 - $B0) / $HZ" | bc) s CPU = $(pct "$B0" "$B1") % of one core"
ls "$E2E_TMP/spool/recovery" 2>/dev/null | sed 's/^/  spool: /'
for w in "${W[@]}"; do press "$w" s; done
sleep 3
ls -l "$E2E_TMP"/*/recordings | sed 's/^/  /'
