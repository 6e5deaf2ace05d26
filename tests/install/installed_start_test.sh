#!/usr/bin/env bash
# The installed program as a new user meets it: started under a private X server with an
# empty home and a read-only bin folder, it keeps its files in ~/.config/zk3-zodovaz,
# finds the silent track in the installed share/zodovaz, and ends cleanly.
# Usage: installed_start_test.sh BUILD_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
TMP=$(mktemp -d)
E2E_TMP=$TMP
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../e2e/lib.sh"
# The read-only bin folder must be writable again before it can be removed.
trap 'chmod -R u+w "$TMP" 2>/dev/null; e2e_cleanup' EXIT
e2e_need

install_into_temp
BIN="$ROOT/bin"
chmod a-w "$BIN"
export HOME="$TMP/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
FOLDER="$HOME/.config/zk3-zodovaz"
# The desktop looks for installed icons here.
export XDG_DATA_DIRS="$ROOT/share:/usr/share"

# Waits for the main window or a "File Not Found" box, whichever comes first; prints which.
first_window() {
  local i
  for i in $(seq 1 100); do
    if xdotool search --onlyvisible --name '^File Not Found$' >/dev/null 2>&1; then echo missing; return; fi
    if xdotool search --onlyvisible --name '^zk3 Zodovaz$' >/dev/null 2>&1; then echo main; return; fi
    kill -0 "$ZK_PID" 2>/dev/null || { echo ended; return; }
    sleep 0.1
  done
  echo none
}

exit_by_menu() {
  e2e_find_window || fail "the meter window did not appear"
  e2e_exit_by_menu
  case $? in
    1) fail "the program did not end after File > Exit" ;;
    2) fail "zodovaz ended with an error after File > Exit" ;;
  esac
}

e2e_start_x || fail "Xvfb did not start"

# First start: the per-user folder is made and the session file written there at once.
e2e_start_meter
[ "$(first_window)" = main ] || fail "the first start did not show the meter window"
[ -f "$FOLDER/zk3_Zodovaz.cfg" ] || fail "no session file in $FOLDER after the first start"
[ "$(e2e_session_line "$FOLDER/zk3_Zodovaz.cfg" 1)" = "\"$FOLDER/zk3_Zodovaz.ini\"" ] ||
  fail "the session file names $(e2e_session_line "$FOLDER/zk3_Zodovaz.cfg" 1) as the settings file"
e2e_find_window || fail "the meter window did not appear"
xprop -id "$WIN" _NET_WM_ICON >"$TMP/icon.txt" 2>&1
grep -q '^_NET_WM_ICON(CARDINAL) = ' "$TMP/icon.txt" || fail "the window does not carry the installed icon"
exit_by_menu
grep -q '^\[Recording\]' "$FOLDER/zk3_Zodovaz.ini" 2>/dev/null || fail "exit did not write the settings file in $FOLDER"
[ "$(ls "$BIN" | sort | tr '\n' ' ')" = "zodovaz zodovaz-replay zodovaz-sim zodovaz-zkd " ] ||
  fail "bin holds more than the programs: $(ls "$BIN")"
pass "session and settings files went to $FOLDER; the window has the icon"

# The load dialog of an installed copy opens on the installed sample session.
load=$(tr -d '\r' <"$FOLDER/zk3_Zodovaz.ini" | grep '^LoadPath=')
[ "$load" = "LoadPath=$ROOT/share/zodovaz/samples/" ] || fail "the first settings file says $load"
pass "the load dialog opens on $ROOT/share/zodovaz/samples/"

# With sound recording off the start-up checks for the silent track, which only the
# installed share/zodovaz holds.
sed -i 's/^AudioEnable=.*/AudioEnable=False/' "$FOLDER/zk3_Zodovaz.ini"
grep -q '^AudioEnable=False' "$FOLDER/zk3_Zodovaz.ini" || fail "the settings file has no AudioEnable key"
e2e_start_meter
[ "$(first_window)" = main ] || fail "the silent track in share/zodovaz was not found"
exit_by_menu
pass "the silent track was found in share/zodovaz"

# And without it there, the same start says so: the check above can fail.
mv "$ROOT/share/zodovaz/dummy.mp3" "$TMP/dummy.mp3"
e2e_start_meter
[ "$(first_window)" = missing ] || fail "a missing silent track went unreported"
kill "$ZK_PID" 2>/dev/null
wait "$ZK_PID" 2>/dev/null
ZK_PID=""
pass "a missing silent track is reported"
