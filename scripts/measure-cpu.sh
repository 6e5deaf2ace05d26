#!/usr/bin/env bash
# Prints the share of one core zodovaz takes in six cases, under a private X server and
# sound server (PulseAudio with a silent microphone and loudspeaker):
#   idle       the window open, no readings (the baseline of the same run)
#   live       the simulator at 50 readings a second, a hand at rest (its steady pattern)
#   moving     the same with a moving hand (its fall pattern: each reading 20 from the last)
#   drift      the same with a hand drifting slowly (its drift pattern: +-3000 in a minute)
#   recording  the same with recording and sound
#   playback   a recording of 50 records a second played with its sound, with how late
#              the records were drawn on the sound clock (median, 99th percentile)
#   reading    zk_cpu_reading (bench/floor): the least a program built as the meter is does
#              with each reading (woken by a terminal 50 times a second, a needle band
#              painted into the backing store and flushed); what the meter would take if
#              its own steps took no time. One program, measured with the first build's.
# and before each case the floor: zk_cpu_floor (bench/floor, built with the benchmarks),
# the least a Qt window does to show a moving line. Every case is printed also as a ratio
# to the floor measured just before it, a figure that carries from one machine to another.
# Each case runs SECONDS (default 60) after a warm-up: the drift pattern swings once a
# minute, its needle now fast and now still, and a shorter span measures only the part of
# the swing it happens to cover. Given several build folders, it measures them case by
# case side by side, so a before/after comparison shares the load of the moment. With -p
# it then profiles each case with perf (software clock samples) and prints the top
# entries. With -c only the cases named (a comma list) are run. With -r the cases are
# measured ROUNDS times over, and the median of each case's ratios closes the report: one
# figure of a busy machine is not to be trusted.
# It measures; it asserts nothing.
# Usage: scripts/measure-cpu.sh [-s SECONDS] [-r ROUNDS] [-p] [-c CASES] BIN_DIR [BIN_DIR ...]
set -uo pipefail
SPAN=60
ROUNDS=1
PROFILE=0
CASES="idle live moving drift recording playback reading"
while getopts "s:r:pc:" opt; do
  case $opt in
    s) SPAN=$OPTARG ;;
    r) ROUNDS=$OPTARG ;;
    p) PROFILE=1 ;;
    c) CASES=${OPTARG//,/ } ;;
    *) echo "usage: $0 [-s SECONDS] [-r ROUNDS] [-p] [-c CASES] BIN_DIR [BIN_DIR ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-s SECONDS] [-r ROUNDS] [-p] [-c CASES] BIN_DIR [BIN_DIR ...]" >&2; exit 2; }
BINS=()
for b in "$@"; do
  [ -x "$b/zodovaz" ] && [ -x "$b/zk_make_sweep" ] || { echo "$b: no zodovaz or zk_make_sweep there" >&2; exit 2; }
  [ -x "$b/zk_cpu_floor" ] && [ -x "$b/zk_cpu_reading" ] ||
    { echo "$b: no zk_cpu_floor or zk_cpu_reading there (build with ZK_BENCH=1)" >&2; exit 2; }
  BINS+=("$(cd "$b" && pwd)")
done
if [ "$PROFILE" = 1 ] && ! command -v perf >/dev/null 2>&1; then
  echo "perf is not installed (Debian: linux-perf)" >&2
  exit 2
fi
WARMUP=4

. "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_begin sound
e2e_servers sound
BIN=${BINS[0]}
"$BIN/zk_make_sweep" "$E2E_TMP/sweep" $(( 2 * SPAN + 3 * WARMUP + 10 )) >/dev/null || fail "no sweep recording"

# A program folder of its own for each run, recording with sound into it.
fresh_home() { e2e_auto_save_home take_ "$(mktemp -d "$E2E_TMP/home.XXXX")"; }

# Starts build $1 with the arguments that follow and waits for its window.
start() {
  BIN=$1
  shift
  fresh_home
  e2e_start_meter --home "$HOME_DIR" "$@"
  e2e_find_window || fail "the meter window did not appear"
  sleep "$WARMUP"
}

stop() {
  kill "$ZK_PID" 2>/dev/null
  wait "$ZK_PID" 2>/dev/null
  ZK_PID=""
}

# The time its threads have run, in nanoseconds (the scheduler's own count: clock ticks
# would cut a figure of half a percent over 20 s into steps of a tenth of it).
# With it, how many times they were put on a processor (a wake-up, or a return after
# another program took the processor).
run_time_and_count() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1; n += $3 } END { printf "%d %d\n", s, n }'; }

# The share of one core over the span, as a percentage. How often the threads ran and for
# how long each time goes to $E2E_TMP/runs: where a wake-up itself costs much (a virtual
# machine), the count of them says more than the steps taken.
share() {
  local c0 n0 c1 n1
  read -r c0 n0 < <(run_time_and_count "$ZK_PID")
  sleep "$SPAN"
  read -r c1 n1 < <(run_time_and_count "$ZK_PID")
  awk -v c="$((c1 - c0))" -v n="$((n1 - n0))" -v s="$SPAN" \
    'BEGIN { printf "%.1f runs a second, %.0f us each\n", n / s, n ? c / n / 1000 : 0 }' >"$E2E_TMP/runs"
  echo "scale=3; 100 * ($c1 - $c0) / 1000000000 / $SPAN" | bc
}

# With -p: the top entries of a perf profile of the running program over the span.
profile() {
  local data="$E2E_TMP/perf.data"
  perf record -q -e cpu-clock -F 499 -p "$ZK_PID" -o "$data" -- sleep "$SPAN" >/dev/null 2>&1
  perf report -i "$data" --stdio --no-children --sort dso,symbol 2>/dev/null |
    grep -v '^#' | grep -v '^$' | head -n 15 | sed 's/^/    /'
}

# Starts the first build's reference program $1 (its window has its name) and waits for its
# window and the warm-up.
start_reference() {
  local attempt
  # Under load a fresh Xvfb now and then refuses a connection it serves the next time.
  for attempt in 1 2 3; do
    "${BINS[0]}/$1" >"$E2E_TMP/$1.log" 2>&1 &
    ZK_PID=$!
    e2e_until 100 xdotool search --onlyvisible --name "^$1\$" >/dev/null && break
    stop
    [ "$attempt" = 3 ] && fail "the window of $1 did not appear: $(cat "$E2E_TMP/$1.log")"
  done
  sleep "$WARMUP"
}

# The floor's share of one core, with the first build's program.
measure_floor() {
  start_reference zk_cpu_floor
  FLOOR=$(share)
  stop
  printf '%-10s %6s %% of one core  %s  (%s)\n' floor "$FLOOR" "${BINS[0]}/zk_cpu_floor" "$(cat "$E2E_TMP/runs")"
}

# Runs case $1 on every build; $2 measures (share or profile).
run_case() {
  local name=$1 how=$2 b figure label
  for b in "${BINS[@]}"; do
    label=$b
    case $name in
      idle)
        start "$b"
        figure=$($how)
        ;;
      live)
        start "$b" --simulate
        figure=$($how)
        ;;
      moving)
        start "$b" --simulate --sim-arg --pattern --sim-arg fall
        figure=$($how)
        ;;
      drift)
        start "$b" --simulate --sim-arg --pattern --sim-arg drift
        figure=$($how)
        ;;
      recording)
        start "$b" --simulate
        e2e_focus
        xdotool key r
        sleep "$WARMUP"
        figure=$($how)
        ;;
      reading)
        # The same program whatever the build: measured once, with the first build's.
        [ "$b" = "${BINS[0]}" ] || continue
        start_reference zk_cpu_reading
        label=$b/zk_cpu_reading
        figure=$($how)
        ;;
      playback)
        rm -f "$E2E_TMP/trace"
        ZK_PLAYBACK_TRACE="$E2E_TMP/trace" start "$b" "$E2E_TMP/sweep.zkd"
        e2e_focus
        xdotool key p
        sleep "$WARMUP"
        figure=$($how)
        ;;
    esac
    stop
    if [ "$how" = share ]; then
      ratio=$(echo "scale=2; $figure / $FLOOR" | bc 2>/dev/null)
      echo "$name $b $ratio" >>"$E2E_TMP/ratios"
      printf '%-10s %6s %% of one core  %5s x the floor  %s' "$name" "$figure" "$ratio" "$label"
      printf '  (%s)' "$(cat "$E2E_TMP/runs")"
      [ "$name" = playback ] && printf '  (lateness %s)' "$(lateness)"
      printf '\n'
    else
      echo "$name  $label"
      echo "$figure"
    fi
  done
}

# Median and 99th percentile of how late the traced records were drawn, in ms.
lateness() {
  [ -s "$E2E_TMP/trace" ] || { echo "no trace"; return; }
  awk '$1 >= 1000 { print $2 - $1 }' "$E2E_TMP/trace" | sort -n >"$E2E_TMP/late"
  local n
  n=$(wc -l <"$E2E_TMP/late")
  echo "$n records: median $(sed -n "$(( (n + 1) / 2 ))p" "$E2E_TMP/late") ms," \
    "99th percentile $(sed -n "$(( (n * 99 + 99) / 100 ))p" "$E2E_TMP/late") ms"
}

# The median of each case's ratios over the rounds, build by build.
medians() {
  local c b
  echo
  echo "median of ${ROUNDS} rounds (x the floor of the same round):"
  for c in $CASES; do
    for b in "${BINS[@]}"; do
      awk -v c="$c" -v b="$b" '$1 == c && $2 == b { print $3 }' "$E2E_TMP/ratios" | sort -n |
        awk -v c="$c" -v b="$b" '{ v[NR] = $1 } END { if (NR) printf "%-10s %5.2f x the floor  (%s to %s)  %s\n", c, (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[1], v[NR], b }'
    done
  done
}

echo "share of one core over ${SPAN} s after a ${WARMUP} s warm-up; load average $(cut -d' ' -f1-3 /proc/loadavg)"
# The floor just before each case: the machine's pace drifts over minutes, and a floor
# measured at the start of a round would not carry to a case measured at its end.
for round in $(seq 1 "$ROUNDS"); do
  [ "$ROUNDS" -gt 1 ] && echo "round $round"
  for c in $CASES; do
    measure_floor
    run_case "$c" share
  done
done
[ "$ROUNDS" -gt 1 ] && medians
if [ "$PROFILE" = 1 ]; then
  echo
  echo "perf profiles (cpu-clock samples, top entries by library and symbol):"
  for c in $CASES; do run_case "$c" profile; done
fi
