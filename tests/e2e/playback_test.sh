#!/usr/bin/env bash
# Playback as a person does it, under a private X server and a private sound server: a
# recording whose needle sweeps slowly across the dial is named on the command line, P
# plays it, screenshots a few seconds apart show the needle at the angle of the record
# shown at that moment, S shows "END" and the banner returns to demonstration mode, and
# the program ends cleanly on SIGTERM while a second playback runs, keeping the user's
# own sensitivity step. Also prints how late records were drawn on the sound clock.
# Usage: playback_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_need
for t in pulseaudio pactl bc; do
  command -v "$t" >/dev/null 2>&1 || { echo "SKIP: $t is not installed" >&2; exit 77; }
done
E2E_TMP=$(mktemp -d)
trap e2e_cleanup EXIT

HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
# The lag lamp, lit whenever a busy machine makes the player drop records, is as red as
# the needle the screenshots look for: here it is blue.
cat >"$HOME_DIR/zk3_Zodovaz.ini" <<'INI'
[Colors]
LED_Lag_Color=16711680
INI
SECONDS_LONG=40  # the sweep: -8000 to +8000 in 40 s, 400 needle units a second
"$BIN/zk_make_sweep" "$E2E_TMP/sweep" "$SECONDS_LONG" || fail "could not write the sweep recording"

e2e_servers sound
TRACE="$E2E_TMP/trace"
ZK_PLAYBACK_TRACE="$TRACE" e2e_start_meter --home "$HOME_DIR" "$E2E_TMP/sweep.zkd"
e2e_find_window || fail "the meter window did not appear"
e2e_panel
sleep 1
e2e_shot "$E2E_TMP/demo.png"
DEMO_BANNER=$(e2e_banner_sig "$E2E_TMP/demo.png")

# The needle's angle from the vertical in needle units (1/65536 turn, clockwise), from a
# straight line fitted through its red pixels in the upper part of the dial. Panel x and y
# units have the same size on screen, so the slope in pixels is the slope on the dial.
needle_units() {
  local top=$(( WY + MENU_H + PH / 10 )) h=$(( PH * 45 / 100 ))
  convert "$1" -crop "${PW}x${h}+${WX}+${top}" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[ ,:()]+' 'NR > 1 && $3 >= 200 && $4 <= 60 && $5 <= 60 {
        n++; sx += $1; sy += $2; sxy += $1 * $2; syy += $2 * $2 }
      END {
        if (n < 30) exit
        b = (n * sxy - sx * sy) / (n * syy - sy * sy)   # dx per dy, y downwards
        printf "%d\n", -atan2(b, 1) * 65536 / 6.283185307 }'
}
# The needle value of the record last shown (the sweep's formula from its time).
shown_units() {
  local ms
  ms=$(tail -n 1 "$TRACE" 2>/dev/null | awk '{ print $1 }')
  [ -n "$ms" ] || return 1
  echo "-8000 + 16000 * ($ms / 20) / ($SECONDS_LONG * 50 - 1)" | bc
}

e2e_focus
xdotool key p
e2e_until 100 shown_units >/dev/null || fail "the playback showed no record"
sleep 1
for shot in 1 2 3; do
  before=$(shown_units) || fail "no record shown $(( shot * 3 )) s into the playback"
  e2e_shot "$E2E_TMP/play$shot.png"
  after=$(shown_units)
  seen=$(needle_units "$E2E_TMP/play$shot.png")
  [ -n "$seen" ] || fail "no needle on screenshot $shot"
  # 150 units of slack: the width of the drawn needle and a screenshot's own duration.
  [ "$seen" -ge $(( before - 150 )) ] && [ "$seen" -le $(( after + 150 )) ] ||
    fail "screenshot $shot: needle at $seen, records shown meanwhile $before .. $after"
  pass "screenshot $shot: the needle stands at $seen for records $before .. $after"
  sleep 3
done

# S: "END" over the dial for a second, without the needle, then demonstration mode. The
# first screenshot is taken at once and the next ones as fast as they come, so that a
# loaded machine still catches the second that END shows.
# The word's band: its top is 350 of the panel's 1250 units down (28 %).
dial_sig() { e2e_region_sig "$1" $(( WX + PW / 3 )) $(( WY + MENU_H + PH * 28 / 100 )) $(( PW / 3 )) $(( PH / 6 )); }
needle_gone() {
  e2e_shot "$E2E_TMP/end.png"
  [ -z "$(e2e_needle_x "$E2E_TMP/end.png")" ] && END_SIG=$(dial_sig "$E2E_TMP/end.png")
}
demo_again() {
  e2e_shot "$E2E_TMP/after.png"
  [ "$(e2e_banner_sig "$E2E_TMP/after.png")" = "$DEMO_BANNER" ]
}
xdotool key s
e2e_until 30 needle_gone || fail "the needle is still drawn after the stop"
e2e_until 50 demo_again || fail "the banner did not return to demonstration mode"
sleep 1.5  # END has gone by now
e2e_shot "$E2E_TMP/after.png"
[ "$END_SIG" != "$(dial_sig "$E2E_TMP/after.png")" ] || fail "nothing was printed over the dial at the stop"
LINES=$(wc -l <"$TRACE")
sleep 1  # nothing may come: a fixed wait is the only way to see that
[ "$(wc -l <"$TRACE")" -eq "$LINES" ] || fail "records are still shown after the stop"
pass "S showed END and returned to demonstration mode"

# How late each record was drawn: the sound clock's position just after it was drawn,
# less the record's time. The first second after each start is left out (the sound device
# starts its clock before the first buffer is heard).
awk '$1 >= 1000 { print $2 - $1 }' "$TRACE" | sort -n >"$E2E_TMP/late"
N=$(wc -l <"$E2E_TMP/late")
[ "$N" -gt 100 ] || fail "only $N records were traced"
P50=$(sed -n "$(( (N + 1) / 2 ))p" "$E2E_TMP/late")
P99=$(sed -n "$(( (N * 99 + 99) / 100 ))p" "$E2E_TMP/late")
echo "lateness of $N records on the sound clock: median $P50 ms, 99th percentile $P99 ms"

# A second playback, and the session ends in the middle of it.
e2e_focus
xdotool key p
more_lines() { [ "$(wc -l <"$TRACE")" -gt $(( LINES + 50 )) ]; }
e2e_until 100 more_lines || fail "the second playback showed nothing"
kill -TERM "$ZK_PID"
e2e_wait_end || fail "the program did not end on SIGTERM during a playback"
[ "$RC" -eq 0 ] || fail "zodovaz ended with $RC on SIGTERM during a playback"
[ "$(e2e_session_line "$HOME_DIR/zk3_Zodovaz.cfg" 4)" = 8 ] ||
  fail "the session file kept the recording's sensitivity step, not the user's"
pass "the program ended cleanly during a playback and kept the user's sensitivity step"
