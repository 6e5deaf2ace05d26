#!/usr/bin/env bash
# The meter as a person uses it, under a private X server: start with the simulator,
# watch the needle, press keys, close it from the File menu, and read the files it wrote.
# Usage: live_meter_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin

HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
# The reading holds at 30000, then falls by 2500 in a second and stays there.
cat >"$E2E_TMP/fall.script" <<'SCRIPT'
0 value 30000
12000 ramp 27500 1000
SCRIPT

e2e_servers
e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/fall.script"
e2e_find_window || fail "the meter window did not appear"
e2e_panel
SESSION="$HOME_DIR/zk3_Zodovaz.cfg"
SETTINGS="$HOME_DIR/zk3_Zodovaz.ini"

# A first start writes the session file at once, with the default values.
[ -f "$SESSION" ] || fail "no session file after the first start"
[ "$(wc -l <"$SESSION")" -eq 8 ] || fail "the session file has $(wc -l <"$SESSION") lines, not 8"
[ "$(e2e_session_line "$SESSION" 1)" = "\"$HOME_DIR/zk3_Zodovaz.ini\"" ] || fail "session line 1: $(e2e_session_line "$SESSION" 1)"
[ "$(e2e_session_line "$SESSION" 2)" = 2 ] || fail "autosave in the new session file is not 2 (Prompt)"
[ "$(e2e_session_line "$SESSION" 3)" = 0 ] || fail "port in the new session file is not 0"
[ "$(e2e_session_line "$SESSION" 4)" = 8 ] || fail "sensitivity in the new session file is not 8"
grep -q $'\r$' "$SESSION" || fail "the session file lines do not end in CR LF"
pass "first start wrote the session file"

# The needle stands at the SET mark, left of the pivot.
CENTER=$(( WX + PW / 2 ))
SET_X=""
for i in $(seq 1 40); do
  e2e_shot "$E2E_TMP/a.png"
  SET_X=$(e2e_needle_x "$E2E_TMP/a.png")
  [ -n "$SET_X" ] && break
  sleep 0.1
done
[ -n "$SET_X" ] || fail "no needle drawn"
[ "$SET_X" -lt $(( CENTER - 10 )) ] || fail "the needle does not stand at the SET mark (x $SET_X, pivot $CENTER)"
pass "needle drawn at the SET mark (x $SET_X)"

# The falling reading swings the needle to the right of the pivot.
MOVED_X=""
for i in $(seq 1 60); do
  sleep 0.25
  e2e_shot "$E2E_TMP/b.png"
  X=$(e2e_needle_x "$E2E_TMP/b.png")
  if [ -n "$X" ] && [ "$X" -gt $(( CENTER + 10 )) ]; then MOVED_X=$X; break; fi
done
[ -n "$MOVED_X" ] || fail "the needle did not follow the falling reading"
pass "needle left the SET mark as the reading fell (x $MOVED_X)"

# Space brings it back.
e2e_focus
xdotool key space
BACK=""
for i in $(seq 1 30); do
  sleep 0.1
  e2e_shot "$E2E_TMP/c.png"
  X=$(e2e_needle_x "$E2E_TMP/c.png")
  if [ -n "$X" ] && [ $(( X - SET_X )) -le 3 ] && [ $(( SET_X - X )) -le 3 ]; then BACK=$X; break; fi
done
[ -n "$BACK" ] || fail "Space did not bring the needle back to the SET mark (x $X, SET $SET_X)"
pass "Space set the needle back (x $BACK)"

# Up and Down turn the knob: three steps up, one down.
# The knob's picture differs from $1 (sets KNOB to the new one).
knob_not() {
  e2e_shot "$E2E_TMP/k.png"
  KNOB=$(e2e_knob_sig "$E2E_TMP/k.png")
  [ "$KNOB" != "$1" ]
}
e2e_shot "$E2E_TMP/k0.png"
K0=$(e2e_knob_sig "$E2E_TMP/k0.png")
xdotool key Up
sleep 0.1
xdotool key Up
sleep 0.1
xdotool key Up
e2e_until 50 knob_not "$K0" || fail "the knob did not turn on Up"
sleep 0.3  # the three steps drawn
knob_not "" && K1=$KNOB
xdotool key Down
e2e_until 50 knob_not "$K1" || fail "the knob did not turn on Down"
pass "Up and Down turn the knob"

# F shows a short message in the banner for about a second.
e2e_shot "$E2E_TMP/f0.png"
F0=$(e2e_banner_sig "$E2E_TMP/f0.png")
# Whether the banner's picture is (or is not) $1.
banner_is() {
  e2e_shot "$E2E_TMP/f.png"
  [ "$(e2e_banner_sig "$E2E_TMP/f.png")" = "$1" ]
}
banner_not() { ! banner_is "$1"; }
xdotool key f
e2e_until 20 banner_not "$F0" || fail "F did not show a message in the banner"
e2e_until 50 banner_is "$F0" || fail "the banner did not return to the status after the message"
pass "F showed its message for a second"

# Settings > Autosave Settings > On, by keyboard, then File > Exit.
# Keys reach an open menu in the order they were pressed; each step waits for the menus
# it opens or closes.
xdotool key alt+s
e2e_until 30 e2e_popups_are 1 || fail "Alt+S did not open the Settings menu"
for i in 1 2 3 4 5; do xdotool key Down; done
xdotool key Right
e2e_until 30 e2e_popups_are 2 || fail "the Autosave Settings menu did not open"
xdotool key Return
e2e_until 30 e2e_popups_are 0 || fail "choosing On did not close the menus"
e2e_exit_by_menu
case $? in
  1) fail "the program did not end after File > Exit" ;;
  2) fail "zodovaz ended with an error after File > Exit" ;;
esac
pgrep -f "zodovaz-sim --script $E2E_TMP" >/dev/null && fail "the simulator outlived the program"
pass "File > Exit ended the program and the simulator"

[ "$(e2e_session_line "$SESSION" 2)" = 1 ] || fail "autosave in the session file is not 1 (On)"
[ "$(e2e_session_line "$SESSION" 3)" = 0 ] || fail "the simulator's port became the remembered port"
[ "$(e2e_session_line "$SESSION" 4)" = 10 ] || fail "the session file holds sensitivity $(e2e_session_line "$SESSION" 4), not 10"
pass "the session file holds the new sensitivity"
[ -f "$SETTINGS" ] || fail "no settings file after exit with autosave On"
for section in Colors Format Settings Graph Recording; do
  grep -q "^\[$section\]" "$SETTINGS" || fail "the settings file lacks [$section]"
done
grep -q '^FreezeEnable=True' "$SETTINGS" || fail "the settings file does not hold the freeze that F switched on"
pass "autosave On wrote the settings file"

# A termination signal closes the window as its close box would, without questions: the
# session file is written again and the program ends normally. The session places the
# window far left of any screen: it comes back onto the screen.
printf '"%s"\r\n1\r\n0\r\n12\r\n-30000\r\n0\r\n9000\r\n0\r\n' "$SETTINGS" >"$SESSION"
e2e_start_meter --home "$HOME_DIR"
e2e_find_window || fail "the meter window did not appear"
[ "$WX" -ge 0 ] || fail "the window was placed off-screen at x $WX"
pass "a window stored off-screen starts on the screen"
rm -f "$SESSION"
kill -TERM "$ZK_PID"
e2e_wait_end || fail "the program did not end on SIGTERM"
[ "$RC" -eq 0 ] || fail "zodovaz ended with $RC on SIGTERM"
[ -f "$SESSION" ] || fail "SIGTERM ended the program without writing the session file"
[ "$(e2e_session_line "$SESSION" 4)" = 12 ] || fail "the session file holds sensitivity $(e2e_session_line "$SESSION" 4), not 12"
pass "SIGTERM wrote the session file and ended the program cleanly"
