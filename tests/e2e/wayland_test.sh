#!/usr/bin/env bash
# The meter as a Wayland client: started with --simulate on a private headless Weston, it
# opens its window through Qt's wayland platform and ends on SIGTERM with exit code 0. A
# Wayland client is never told where its window is, so the session file keeps the position
# it held before (or, on a first start, the default one), never one made up from a zero
# origin; the width is saved as usual.
# Usage: wayland_test.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/lib.sh"
e2e_need_wayland
E2E_TMP=$(mktemp -d)
trap e2e_cleanup EXIT
e2e_start_wayland || fail "weston did not start"
HOME_DIR="$E2E_TMP/home"
SESSION="$HOME_DIR/zk3_Zodovaz.cfg"
mkdir -p "$HOME_DIR"

# Starts the meter with the protocol traced, waits for its window (the title it gives
# its toplevel surface), and checks that it is still running a moment later.
start_on_wayland() {
  local i
  WAYLAND_DEBUG=client e2e_start_meter --simulate --home "$HOME_DIR"
  for i in $(seq 1 150); do
    grep -q 'xdg_toplevel@[0-9]*\.set_title("zk3 Zodovaz")' "$E2E_TMP/zodovaz.log" && break
    kill -0 "$ZK_PID" 2>/dev/null || fail "zodovaz ended on Wayland"
    sleep 0.1
  done
  grep -q 'xdg_toplevel@[0-9]*\.set_title("zk3 Zodovaz")' "$E2E_TMP/zodovaz.log" ||
    fail "zodovaz made no window on the Wayland compositor"
  sleep 2
  kill -0 "$ZK_PID" 2>/dev/null || fail "zodovaz ended on Wayland after its window appeared"
  # From here on only the program's own messages matter, not the protocol trace.
  grep -v '^\[ *[0-9.]*\] ' "$E2E_TMP/zodovaz.log" >"$E2E_TMP/messages.log"
  mv "$E2E_TMP/messages.log" "$E2E_TMP/zodovaz.log"
}

stop_with_sigterm() {
  kill -TERM "$ZK_PID"
  e2e_wait_end || fail "zodovaz did not end on SIGTERM"
  [ "$RC" -eq 0 ] || fail "zodovaz ended with exit code $RC on SIGTERM"
}

# A session of an earlier start under X11: the window at (300, 200) pixels, 600 wide.
printf '"%s"\r\n2\r\n0\r\n8\r\n4500\r\n3000\r\n9000\r\n0\r\n' "$HOME_DIR/zk3_Zodovaz.ini" >"$SESSION"
start_on_wayland
pass "zodovaz runs as a Wayland client"
stop_with_sigterm
pass "zodovaz ends on SIGTERM with exit code 0"
left=$(e2e_session_line "$SESSION" 5)
top=$(e2e_session_line "$SESSION" 6)
width=$(e2e_session_line "$SESSION" 7)
[ "$left,$top" = "4500,3000" ] || fail "the session file's position became ($left, $top) twips, not (4500, 3000)"
[ "$width" = 9000 ] || fail "the session file's width became $width twips, not 9000"
pass "the session file keeps the position (4500, 3000) and the width 9000"

# A first start: the default position, a quarter of the screen from the left at the top.
rm -f "$SESSION" "$HOME_DIR/zk3_Zodovaz.ini"
start_on_wayland
stop_with_sigterm
left=$(e2e_session_line "$SESSION" 5)
top=$(e2e_session_line "$SESSION" 6)
case "$left,$top" in
  [1-9]*,0) ;;
  *) fail "a first start wrote the position ($left, $top) twips" ;;
esac
pass "a first start writes the default position ($left, $top)"
