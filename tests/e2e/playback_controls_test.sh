#!/usr/bin/env bash
# The transport during a playback, in the real window with a real sound server: P pauses
# and resumes where it paused, Shift+. skips ten seconds, a pause pressed right after a
# skip stays a pause (the skip's resume does not bring the sound back under it), the loop
# button makes the end of the recording start it again, and a pause pressed during the
# banner of that restart holds until P, which then plays from the start. What the player
# shows is read from its trace (ZK_PLAYBACK_TRACE: one line per record shown, its time
# first). Every key waits for a condition; the only fixed waits are the windows in which
# nothing may be shown.
# Usage: playback_controls_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin sound
command -v bc >/dev/null 2>&1 || { echo "SKIP: bc is not installed" >&2; exit 77; }

HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
SECONDS_LONG=40
# Near the last record (at 39980 ms): a busy player drops a record now and then.
END_MS=$(( SECONDS_LONG * 1000 - 200 ))
"$BIN/zk_make_sweep" "$E2E_TMP/sweep" "$SECONDS_LONG" || fail "could not write the sweep recording"

e2e_servers sound
TRACE="$E2E_TMP/trace"
ZK_PLAYBACK_TRACE="$TRACE" e2e_start_meter --home "$HOME_DIR" "$E2E_TMP/sweep.zkd"
e2e_find_window || fail "the meter window did not appear"

lines() { [ -f "$TRACE" ] && wc -l <"$TRACE" || echo 0; }
# The time of the record shown as trace line $1.
time_of_line() { sed -n "${1}p" "$TRACE" | awk '{ print $1 }'; }
last_ms() { tail -n 1 "$TRACE" | awk '{ print $1 }'; }
# True when a record at $2 ms or later was shown after trace line $1.
shown_from() { awk -v n="$1" -v ms="$2" 'NR > n && $1 >= ms { f = 1 } END { exit !f }' "$TRACE" 2>/dev/null; }
# True when a record before $2 ms was shown after trace line $1.
shown_before() { awk -v n="$1" -v ms="$2" 'NR > n && $1 < ms { f = 1 } END { exit !f }' "$TRACE" 2>/dev/null; }
more_than() { [ "$(lines)" -gt "$1" ]; }
# True when no record is shown for $1 tenths of a second.
still_for() {
  local n
  n=$(lines)
  sleep "$(echo "scale=1; $1 / 10" | bc)"
  [ "$(lines)" -eq "$n" ]
}
# True while the player's sound stream runs on the sound server (a paused one is corked).
sound_plays() { pactl list sink-inputs 2>/dev/null | grep -q 'Corked: no'; }
key() {
  e2e_focus
  xdotool key "$@"
}
# Shift+. once; true when a record ten seconds on (at most a second before the end) is shown.
skip() {
  local from want
  from=$(lines)
  want=$(( $(last_ms) + 9000 ))
  [ "$want" -le $(( END_MS - 1000 )) ] || want=$(( END_MS - 1000 ))
  key shift+period
  e2e_until 100 shown_from "$from" "$want"
}
# Skips until the last second, then waits for the end.
to_the_end() {
  local from
  from=$(lines)
  for _ in 1 2 3 4 5; do
    [ "$(last_ms)" -ge $(( END_MS - 1000 )) ] && break
    skip || return 1
  done
  e2e_until 150 shown_from "$from" "$END_MS"
}

key p
e2e_until 150 shown_from 0 1000 || fail "the playback showed nothing"
e2e_until 50 sound_plays || fail "the playback's sound does not play"
pass "P plays"

# P pauses: the records stop; P again goes on from where they stopped.
key p
e2e_until 10 still_for 15 || fail "records are still shown after P paused the playback"
sound_plays && fail "the sound plays on after P paused the playback"
PAUSED=$(lines)
AT=$(last_ms)
key p
e2e_until 100 more_than "$PAUSED" || fail "P did not resume the playback"
NEXT=$(time_of_line $(( PAUSED + 1 )))
[ "$NEXT" -ge "$AT" ] && [ "$NEXT" -le $(( AT + 1500 )) ] ||
  fail "paused at the record of $AT ms, resumed at $NEXT ms"
pass "P paused at $AT ms and resumed at $NEXT ms"

# Shift+. skips ten seconds.
e2e_until 100 more_than $(( PAUSED + 20 )) || fail "the resumed playback stopped"
AT=$(last_ms)
skip || fail "Shift+. did not skip ahead from $AT ms"
pass "Shift+. skipped from $AT ms to $(last_ms) ms"

# A skip and at once a pause: the sound the skip would resume 0.8 s later stays paused,
# past the skip and the pause's banner; P resumes at the skip's target.
e2e_until 100 more_than $(( $(lines) + 20 )) || fail "the playback stopped after the skip"
AT=$(last_ms)
key shift+period p
e2e_until 10 still_for 25 || fail "records are shown after a pause pressed right after a skip"
sound_plays && fail "the sound came back under a pause pressed right after a skip"
PAUSED=$(lines)
key p
e2e_until 100 more_than "$PAUSED" || fail "P did not resume after the skip and the pause"
NEXT=$(time_of_line $(( PAUSED + 1 )))
[ "$NEXT" -ge $(( AT + 9000 )) ] || fail "skipped and paused at $AT ms, resumed at $NEXT ms"
pass "a pause right after a skip held; P resumed at $NEXT ms"

# The loop button, then skips to the end: the playback starts again from the first
# record instead of ending.
# The loop button takes the open button's place during a playback: the sixth of the row.
xdotool mousemove $(( WX + 13 + 5 * 37 + 17 )) $(( WY + WH - 81 + 24 + 17 )) click 1
to_the_end || fail "the skips did not reach the end of the recording"
ENDED=$(lines)
e2e_until 100 shown_before "$ENDED" 1000 || fail "with the loop on, the end of the recording did not start it again"
pass "with the loop on, the end started the recording again"

# To the end again, and P in the restart's banner (two seconds without records, told by
# a few tenths of a second without one): the pause holds past the banner, and P plays
# from the start.
e2e_until 100 more_than $(( $(lines) + 20 )) || fail "the second pass stopped"
to_the_end || fail "the second pass did not reach the end"
e2e_until 50 still_for 3 || fail "no banner after the end of the second pass"
key p
e2e_until 10 still_for 30 || fail "records are shown after P was pressed in the loop's restart banner"
sound_plays && fail "the sound plays after P was pressed in the loop's restart banner"
PAUSED=$(lines)
key p
e2e_until 100 more_than "$PAUSED" || fail "P did not resume after a pause in the loop's restart banner"
NEXT=$(time_of_line $(( PAUSED + 1 )))
[ "$NEXT" -lt 1000 ] || fail "paused in the restart banner, resumed at $NEXT ms instead of the start"
pass "a pause in the loop's restart banner held; P played from $NEXT ms"

key s
e2e_until 50 still_for 15 || fail "records are still shown after S"
e2e_exit_by_menu || fail "File > Exit did not end the program cleanly after the playback"
pass "S stopped the playback and the program ended cleanly"
