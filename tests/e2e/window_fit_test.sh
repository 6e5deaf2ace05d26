#!/usr/bin/env bash
# The window fits the screen under a real X server: a session that asks for a 1200-pixel
# window with the chart and the record panel on a 1280 x 1024 screen gets a narrower one
# whose whole height, record panel included, is on the screen; widened by hand to the
# screen's width it narrows again.
# Usage: window_fit_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_begin

HOME_DIR="$E2E_TMP/home"
mkdir -p "$HOME_DIR"
printf '[Format]\r\nRecordVisible=True\r\nGraphVisible=True\r\nGraphHeight_Index=2\r\n' >"$HOME_DIR/zk3_Zodovaz.ini"
# Left 0, top 0, 1200 pixels wide (18000 twips), normal state.
printf '"%s"\r\n2\r\n0\r\n8\r\n0\r\n0\r\n18000\r\n0\r\n' "$HOME_DIR/zk3_Zodovaz.ini" >"$HOME_DIR/zk3_Zodovaz.cfg"
e2e_servers
SCREEN_H=$(xwininfo -root | awk '/Height:/ {print $2}')

# Waits up to five seconds for the window to lie inside the screen, no narrower than the
# record panel needs and narrower than $1.
fits_within() {
  local i
  for i in $(seq 1 50); do
    e2e_window_geometry
    [ "$WY" -ge 0 ] && [ $((WY + WH)) -le "$SCREEN_H" ] && [ "$WW" -ge 550 ] && [ "$WW" -lt "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

e2e_start_meter --home "$HOME_DIR"
e2e_find_window || fail "the meter window did not appear"
fits_within 1200 || fail "the window is ${WW} x ${WH} at ${WX},${WY} on a screen ${SCREEN_H} pixels high"
pass "a 1200-pixel window with chart and record panel fits a ${SCREEN_H}-pixel screen (${WW} x ${WH})"

xdotool windowsize "$WIN" 1280 600
fits_within 1280 || fail "widened, the window is ${WW} x ${WH} at ${WX},${WY}"
pass "widened to the screen's width it fits again (${WW} x ${WH})"
