#!/usr/bin/env bash
# "zodovaz-zkd edf" on the sample session, read back by an independent reader (MNE-Python,
# not EDFlib): the sample rate, the duration, the raw reading against the records the
# "csv" command lists, the annotations against the tags, and the start from the header.
# Usage: edf_export_test.sh BIN (the folder with zodovaz-zkd and samples/).
set -euo pipefail
BIN=$1
PY=/usr/bin/python3
if ! "$PY" -c 'import mne' 2>/dev/null; then
  echo "SKIP: python3-mne is not installed" >&2
  exit 77
fi
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
ZKD="$BIN/samples/sample-session.zkd"

"$BIN/zodovaz-zkd" csv "$ZKD" >"$TMP/records.csv"
"$BIN/zodovaz-zkd" edf "$ZKD" "$TMP/session.edf" >"$TMP/out.txt"
grep -qx "$TMP/session.edf" "$TMP/out.txt" || { echo "FAIL: edf did not name its file" >&2; exit 1; }
# Only the file itself is left in the folder: no temporary file stays behind.
[ "$(ls -A "$TMP" | sort | tr '\n' ' ')" = "out.txt records.csv session.edf " ] || { ls -A "$TMP" >&2; exit 1; }

"$PY" - "$TMP/session.edf" "$TMP/records.csv" <<'PYEOF'
import csv, sys, datetime
import mne

raw = mne.io.read_raw_edf(sys.argv[1], preload=True, verbose="ERROR")
rows = list(csv.DictReader(open(sys.argv[2])))
times = [int(r["time_ms"]) for r in rows]
readings = [int(r["raw"]) for r in rows]
tags = sum(1 for r in rows if r["marker"] == "T")

def check(ok, what):
    if not ok:
        print("FAIL:", what, file=sys.stderr)
        sys.exit(1)

check(raw.info["sfreq"] == 50, "sample rate %s" % raw.info["sfreq"])
duration = raw.n_times / raw.info["sfreq"]
# Whole one-second data records covering the last record's time.
check(times[-1] / 1000 < duration <= times[-1] / 1000 + 1.02, "duration %s for a last time of %d ms" % (duration, times[-1]))
check(raw.ch_names[:4] == ["Needle", "Base", "Raw reading", "Sensitivity"], "signals %s" % raw.ch_names)

# Every 20 ms sample holds the last record whose time has come.
signal = raw.get_data(picks=["Raw reading"])[0]
k = 0
for i in range(int(times[-1] / 20) + 1):
    t = i * 20
    while k + 1 < len(times) and times[k + 1] <= t:
        k += 1
    # MNE scales to volts when it does not know the unit; compare in the file's own units.
    value = signal[i] if abs(signal[i]) > 1.5 else signal[i] * 1e6
    check(abs(value - readings[k]) < 0.51, "sample %d (%d ms): %s, record %d has %d" % (i, t, value, k + 1, readings[k]))

descriptions = list(raw.annotations.description)
check(sum(1 for d in descriptions if d.startswith("Tag ")) == tags and tags > 0,
      "%d tag annotations for %d tags" % (sum(1 for d in descriptions if d.startswith("Tag ")), tags))
tag_onsets = [o for o, d in zip(raw.annotations.onset, descriptions) if d.startswith("Tag ")]
record_tags = [times[i] / 1000 for i, r in enumerate(rows) if r["marker"] == "T"]
check(all(abs(a - b) < 0.001 for a, b in zip(tag_onsets, record_tags)), "tag onsets %s vs %s" % (tag_onsets, record_tags))
# The sample session carries its start: 14/03/2026 10:30:00.
start = raw.info["meas_date"].replace(tzinfo=None)
check(start == datetime.datetime(2026, 3, 14, 10, 30, 0), "start %s" % start)
print("ok: %d samples at 50 Hz, %.2f s, %d annotations (%d tags)" % (raw.n_times, duration, len(descriptions), tags))
PYEOF

# With a notes file beside the recording, the tag annotations carry the notes and a session
# annotation stands at the start, as MNE reads them.
cp "$ZKD" "$TMP/noted.zkd"
printf 'zodovaz notes 1\nsession\tEvening session\ntag\t1\tLooked at the door\n' >"$TMP/noted.notes"
"$BIN/zodovaz-zkd" edf "$TMP/noted.zkd" "$TMP/noted.edf" >/dev/null
"$PY" - "$TMP/noted.edf" <<'PYEOF'
import sys
import mne

raw = mne.io.read_raw_edf(sys.argv[1], verbose="ERROR")
descriptions = list(raw.annotations.description)
def check(ok, what):
    if not ok:
        print("FAIL:", what, descriptions, file=sys.stderr)
        sys.exit(1)
check("Tag 1: Looked at the door" in descriptions, "the note of tag 1")
check(any(d.startswith("Tag ") and ":" not in d for d in descriptions), "a tag without a note stays plain")
at = [o for o, d in zip(raw.annotations.onset, descriptions) if d == "Session: Evening session"]
check(at == [0.0], "the session note at the start: %s" % at)
print("ok: notes read back by MNE")
PYEOF

# A folder that does not exist: the message names the file and the reason; exit 1.
if "$BIN/zodovaz-zkd" edf "$ZKD" "$TMP/none/x.edf" 2>"$TMP/err.txt"; then echo "FAIL: wrote into no folder" >&2; exit 1; fi
grep -q "could not write $TMP/none/x.edf: No such file or directory" "$TMP/err.txt" || { cat "$TMP/err.txt" >&2; exit 1; }
echo "ok: edf export read back by MNE"
