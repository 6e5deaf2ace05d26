#!/usr/bin/env bash
# Counts the instructions zodovaz runs in user space over SECONDS (default 20) of the
# simulator's drift pattern, under valgrind's callgrind, beside the same count for the
# floor (zk_cpu_floor, built with the benchmarks) over the same number of seconds, and
# prints each build's count also as a ratio to the floor's.
#
# A count of instructions is repeatable where a share of a core is not: on a machine whose
# pace wanders, the same build's share moved by half within an hour, while its count moves
# by a fraction of a percent. It leaves out what the kernel and the X server do and what a
# cold cache costs, so it tells which of two builds does less, not the share itself
# (scripts/measure-cpu.sh measures that).
#
# Each program starts under valgrind with its instrumentation off; after WARMUP seconds
# (default 40: the start under valgrind is slow) it is switched on for the span, then the
# totals are read. The drift pattern is at the same point of its swing in every build.
# With -k DIR the span's callgrind file of each run is kept in DIR (floor.callgrind,
# 1.callgrind for the first build, ...) for callgrind_annotate.
# Usage: scripts/count-instructions.sh [-s SECONDS] [-w WARMUP] [-k DIR] BIN_DIR [BIN_DIR ...]
set -uo pipefail
SPAN=20
WARMUP=40
KEEP=""
USAGE="usage: $0 [-s SECONDS] [-w WARMUP] [-k DIR] BIN_DIR [BIN_DIR ...]"
while getopts "s:w:k:" opt; do
  case $opt in
    s) SPAN=$OPTARG ;;
    w) WARMUP=$OPTARG ;;
    k) KEEP=$OPTARG ;;
    *) echo "$USAGE" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "$USAGE" >&2; exit 2; }
if [ -n "$KEEP" ]; then
  mkdir -p "$KEEP" || exit 2
  KEEP=$(cd "$KEEP" && pwd)
fi
for tool in valgrind callgrind_control callgrind_annotate; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed (Debian: valgrind)" >&2; exit 2; }
done
BINS=()
for b in "$@"; do
  [ -x "$b/zodovaz" ] && [ -x "$b/zk_cpu_floor" ] || { echo "$b: no zodovaz or zk_cpu_floor there (build with ZK_BENCH=1)" >&2; exit 2; }
  BINS+=("$(cd "$b" && pwd)")
done

. "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_begin sound
e2e_servers sound

# Runs the program given after the name to keep its dump as, under callgrind, and prints
# the instructions it ran in the span.
count() {
  local name=$1 out="$E2E_TMP/callgrind.out" i
  shift
  rm -f "$out"*
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" "$@" >"$E2E_TMP/valgrind.log" 2>&1 &
  ZK_PID=$!
  for i in $(seq 1 "$WARMUP"); do
    kill -0 "$ZK_PID" 2>/dev/null || fail "the program ended under valgrind: $(tail -3 "$E2E_TMP/valgrind.log")"
    sleep 1
  done
  callgrind_control -i on "$ZK_PID" >/dev/null 2>&1
  sleep "$SPAN"
  callgrind_control -i off "$ZK_PID" >/dev/null 2>&1
  callgrind_control -d "$ZK_PID" >/dev/null 2>&1
  kill "$ZK_PID" 2>/dev/null
  wait "$ZK_PID" 2>/dev/null
  ZK_PID=""
  [ -n "$KEEP" ] && cp "$out".1 "$KEEP/$name.callgrind"
  # The dump holds the span; the totals at exit hold nothing more.
  callgrind_annotate "$out".1 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}

echo "instructions in user space over ${SPAN} s, after ${WARMUP} s under valgrind"
floor=$(count floor "${BINS[0]}/zk_cpu_floor")
[ -n "$floor" ] && [ "$floor" -gt 0 ] || fail "no count for the floor"
printf '%-8s %14s instructions  %s\n' floor "$floor" "${BINS[0]}/zk_cpu_floor"
n=0
for b in "${BINS[@]}"; do
  n=$((n + 1))
  home=$(mktemp -d "$E2E_TMP/home.XXXX")
  e2e_auto_save_home take_ "$home"
  figure=$(count "$n" "$b/zodovaz" --home "$home" --simulate --sim-arg --pattern --sim-arg drift)
  printf '%-8s %14s instructions  %5s x the floor  %s\n' drift "$figure" \
    "$(echo "scale=2; ${figure:-0} / $floor" | bc)" "$b"
done
