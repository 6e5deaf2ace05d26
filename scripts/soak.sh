#!/usr/bin/env bash
# Soak: HOURS (default 24) of sensor stream at 50 messages a second, with faults, stalls
# and garbage mixed in, generated on the fly and replayed through the receive path and
# meter engine by zodovaz-replay (reading standard input: no capture file on disk). The
# replay's peak memory (VmHWM) is read as its virtual time passes each hour; the script
# prints the figures and fails when the peak at the end is more than 5 % above the peak
# after the first hour. Not part of CI: it takes a few minutes.
#
#   scripts/soak.sh          # 24 hours
#   scripts/soak.sh 2        # a shorter run
set -euo pipefail
cd "$(dirname "$0")/.."
hours=${1:-24}
replay=${ZK_REPLAY:-build/bin/zodovaz-replay}
[ -x "$replay" ] || cmake --build build -j2 --target zodovaz-replay >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/capture" "$work/rows"

# The stream: a wandering reading, "O" messages now and then, switch presses, and faults
# (bad hex, cut messages, line noise, bursts, stalls of seconds, a ten-minute silence
# a few times a day). Fixed seed: every run replays the same day.
python3 - "$hours" >"$work/capture" <<'PY' &
import random, sys
hours = float(sys.argv[1])
rnd = random.Random(16)
out = sys.stdout
end = int(hours * 3600 * 1000)
ms, raw = 0, 30000
write = out.write
while ms < end:
    raw = min(65535, max(0, raw + rnd.randint(-40, 40)))
    r = rnd.random()
    if r < 0.0001:
        ms += rnd.randint(1000, 30000)           # a stall
        continue
    if r < 0.000102:
        ms += 600000                             # ten minutes of nothing
        continue
    if r < 0.002:
        write("%d P%04X\\r\\x00\\xff\\x1b[garbage]\\n" % (ms, raw))   # line noise
    elif r < 0.003:
        write("%d PZZ%02X\\r\n" % (ms, raw & 0xFF))                  # bad hex
    elif r < 0.004:
        write("%d P%02X\n" % (ms, raw >> 8))                          # cut short
    elif r < 0.005:
        write("%d " % ms + "P%04X\\r" % raw * rnd.randint(2, 8) + "\n")  # a burst
    elif r < 0.0052:
        write("%d T%04X\\r\n" % (ms, raw))                           # the switch
    elif r < 0.01:
        write("%d O%04X\\r\n" % (ms, raw))
    else:
        write("%d P%04X\\r\n" % (ms, raw))
    ms += 20
PY
"$replay" - <"$work/capture" >"$work/rows" &
pid=$!

# Reads the rows as they come and samples the replay's memory at each virtual hour (and
# every 100000 rows, so the last sample falls just before the end).
cat >"$work/monitor.py" <<'PY'
import sys, time
pid, hours = sys.argv[1], float(sys.argv[2])
def status():
    try:
        with open("/proc/%s/status" % pid) as f:
            return {l.split(":")[0]: int(l.split()[1]) for l in f if l.startswith(("VmHWM", "VmRSS"))}
    except (OSError, ValueError, IndexError):
        return None
start = time.time()
rows, next_hour, last, samples = 0, 1, None, []
for line in sys.stdin:
    rows += 1
    if rows % 100000 == 0:
        last = status() or last
    field = line.split(",", 1)[0]
    if not field.isdigit():
        continue
    while int(field) >= next_hour * 3600000:
        s = status()
        if s:
            samples.append((next_hour, s))
            print("after %2d h: peak %6d kB, now %6d kB" % (next_hour, s["VmHWM"], s["VmRSS"]), flush=True)
        next_hour += 1
print("rows: %d, wall time %.0f s" % (rows, time.time() - start))
if not samples or last is None:
    sys.exit("soak: no memory figures (did the replay fail?)")
first = samples[0][1]["VmHWM"]
peak = max(last["VmHWM"], samples[-1][1]["VmHWM"])
growth = 100.0 * (peak - first) / first
print("peak after 1 h: %d kB; peak at the end: %d kB; growth %.1f %%" % (first, peak, growth))
sys.exit(0 if growth <= 5.0 else "soak: memory grew by more than 5 %")
PY
python3 "$work/monitor.py" "$pid" "$hours" <"$work/rows"
wait "$pid"
