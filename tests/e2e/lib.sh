# Shared pieces of the end-to-end scripts: a private X server, the meter window, and
# screenshots read back as pixels. Source it; set BIN to the folder with zodovaz first.

# Ends the test as failed with the logs of the program and of its servers (unless the
# script sourced a fail of its own first).
declare -F fail >/dev/null || fail() {
  echo "FAIL: $*" >&2
  local log
  # zodovaz.log, and the logs a test running more than one copy renamed zodovaz-*.log.
  for log in "$E2E_TMP"/zodovaz*.log; do
    [ -f "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log" >&2
  done
  [ -f "$E2E_TMP/xvfb.log" ] && sed 's/^/  Xvfb: /' "$E2E_TMP/xvfb.log" >&2
  [ -f "$E2E_TMP/weston.log" ] && sed 's/^/  weston: /' "$E2E_TMP/weston.log" >&2
  [ -f "$E2E_TMP/pulse.log" ] && grep -v '^W: ' "$E2E_TMP/pulse.log" | sed 's/^/  pulseaudio: /' >&2
  exit 1
}
declare -F pass >/dev/null || pass() { echo "ok: $*"; }

e2e_need() {
  local t
  for t in Xvfb xdotool import convert xwininfo; do
    if ! command -v "$t" >/dev/null 2>&1; then
      echo "SKIP: $t is not installed" >&2
      exit 77
    fi
  done
}

# Starts Xvfb on a free display number; sets DISPLAY and XVFB_PID. The server picks the
# number itself and reports it (-displayfd), so tests started at the same moment never
# share one.
e2e_start_x() {
  local attempt i n
  for attempt in 1 2 3; do
    : >"$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 100); do
      n=$(head -n 1 "$E2E_TMP/display" 2>/dev/null)
      # Ready once a client can really connect, not merely once the number is known, and
      # still ours a moment later: a server that lost the race for its number reports it
      # and ends, and the client reached another test's server.
      if [ -n "$n" ] && xwininfo -root -display ":$n" >/dev/null 2>&1; then
        sleep 0.3
        if kill -0 "$XVFB_PID" 2>/dev/null; then
          export DISPLAY=":$n"
          export QT_QPA_PLATFORM=xcb  # whatever the caller's environment says
          return 0
        fi
        break
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  done
  echo "no free X display" >&2
  return 1
}

# Skips the test when the sound server's programs are missing.
e2e_need_sound() {
  local t
  for t in pulseaudio pactl; do
    command -v "$t" >/dev/null 2>&1 || { echo "SKIP: $t is not installed" >&2; exit 77; }
  done
}

# The start of every test and measurement: the programs it needs (with "sound", those of
# the sound server too; a missing one skips), and a temporary folder E2E_TMP that is
# removed, with everything started in it, when the script ends.
e2e_begin() {
  e2e_need
  [ "${1:-}" = sound ] && e2e_need_sound
  E2E_TMP=$(mktemp -d)
  trap e2e_cleanup EXIT
}

# Starts the private X server, and with "sound" the private sound server too; ends the
# script as failed when one does not start.
e2e_servers() {
  e2e_start_x || fail "Xvfb did not start"
  if [ "${1:-}" = sound ]; then e2e_sound_start || fail "the sound server did not start"; fi
  return 0
}

# Skips the test when the headless Wayland compositor or Qt's Wayland platform is missing.
e2e_need_wayland() {
  command -v weston >/dev/null 2>&1 || { echo "SKIP: weston is not installed" >&2; exit 77; }
  ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    { echo "SKIP: Qt's Wayland platform (qt6-wayland) is not installed" >&2; exit 77; }
}

# A private headless Wayland compositor (Weston) in the test's own runtime folder; the
# programs started afterwards are its clients on Qt's wayland platform. Sets WESTON_PID.
e2e_start_wayland() {
  local rt="$E2E_TMP/wayland" i
  mkdir -p -m 700 "$rt"
  export XDG_RUNTIME_DIR="$rt" WAYLAND_DISPLAY=zk-e2e QT_QPA_PLATFORM=wayland
  unset DISPLAY
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
  WESTON_PID=$!
  for i in $(seq 1 100); do
    # The socket appears once the compositor listens; its shell is loaded just before.
    [ -S "$rt/$WAYLAND_DISPLAY" ] && grep -q "desktop-shell" "$E2E_TMP/weston.log" && return 0
    kill -0 "$WESTON_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# A program folder HOME_DIR whose settings record with sound in "Auto Save" mode into the
# folder REC, named prefix $1 followed by 001, 002 ... HOME_DIR is $2 when given (REC is
# then its rec folder), else home and recordings in the test's folder.
e2e_auto_save_home() {
  HOME_DIR=${2:-$E2E_TMP/home}
  REC=${2:+$2/rec}
  REC=${REC:-$E2E_TMP/recordings}
  mkdir -p "$HOME_DIR" "$REC"
  cat >"$HOME_DIR/zk3_Zodovaz.ini" <<INI
[Recording]
SavePath=$REC/
SavePrefix=$1
RecordingMode=3
SuffixType=0
SuffixNum=1
AudioEnable=True
INI
}

# Starts the meter in $HOME_DIR on the simulator with readings that rise 20 a message
# from 10000 (a recording's readings follow the script), and waits for its window.
e2e_start_ramp_meter() {
  cat >"$E2E_TMP/ramp.script" <<'SCRIPT'
0 value 10000
100 ramp 60000 125000
SCRIPT
  e2e_start_meter --home "$HOME_DIR" --simulate --sim-arg --script --sim-arg "$E2E_TMP/ramp.script"
  e2e_find_window || fail "the meter window did not appear"
  sleep 1
}

# A private sound server with a silent microphone and a silent loudspeaker (PulseAudio's
# null source and sink); its runtime files live in the test's folder, and PULSE_SERVER
# points the programs started afterwards at it. Sets PULSE_PID.
e2e_sound_start() {
  local rt="$E2E_TMP/pulse" i
  mkdir -p -m 700 "$rt"
  HOME="$E2E_TMP" XDG_RUNTIME_DIR="$rt" PULSE_RUNTIME_PATH="$rt" PULSE_STATE_PATH="$rt" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$rt/native" \
    -L "module-null-sink sink_name=e2e_speaker" -L "module-null-source source_name=e2e_microphone" \
    >"$E2E_TMP/pulse.log" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER="unix:$rt/native" XDG_RUNTIME_DIR="$rt"
  for i in $(seq 1 50); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$PULSE_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

e2e_cleanup() {
  [ -n "${ZK_PID:-}" ] && kill "$ZK_PID" 2>/dev/null && wait "$ZK_PID" 2>/dev/null
  [ -n "${WESTON_PID:-}" ] && kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null
  [ -n "${PULSE_PID:-}" ] && kill "$PULSE_PID" 2>/dev/null && wait "$PULSE_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
  return 0
}

# Starts zodovaz with the given arguments; sets ZK_PID. Under load a fresh Xvfb now and
# then refuses one connection although it serves the next; a start that ends at once for
# that reason (before it has touched any file) is tried again.
e2e_start_meter() {
  local attempt i
  for attempt in 1 2 3; do
    "$BIN/zodovaz" "$@" >"$E2E_TMP/zodovaz.log" 2>&1 &
    ZK_PID=$!
    for i in $(seq 1 20); do
      kill -0 "$ZK_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$ZK_PID" 2>/dev/null && return 0
    grep -q "could not connect to display" "$E2E_TMP/zodovaz.log" || return 0
    wait "$ZK_PID" 2>/dev/null
    echo "note: zodovaz could not reach the X server (attempt $attempt); starting it again" >&2
  done
}

# Waits up to five seconds for the program to end; sets RC to its exit status and clears
# ZK_PID. Answers 1 (RC empty) when it is still running.
e2e_wait_end() {
  local i
  RC=""
  for i in $(seq 1 50); do
    kill -0 "$ZK_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ZK_PID" 2>/dev/null && return 1
  wait "$ZK_PID"
  RC=$?
  ZK_PID=""
}

# Waits for the main window; sets WIN and the window's geometry WX, WY, WW, WH.
e2e_find_window() {
  local i
  WIN=""
  for i in $(seq 1 100); do
    WIN=$(xdotool search --onlyvisible --name '^zk3 Zodovaz$' 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    kill -0 "$ZK_PID" 2>/dev/null || return 1  # the program has ended: no window will come
    sleep 0.1
  done
  [ -n "$WIN" ] || return 1
  e2e_window_geometry
}

# As e2e_find_window, but only the window of the program ZK_PID: with more than one copy
# of the program running, the window of the copy started last.
e2e_find_own_window() {
  local i
  WIN=""
  for i in $(seq 1 100); do
    WIN=$(xdotool search --all --onlyvisible --pid "$ZK_PID" --name '^zk3 Zodovaz$' 2>/dev/null | head -1)
    [ -n "$WIN" ] && break
    kill -0 "$ZK_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  [ -n "$WIN" ] || return 1
  e2e_window_geometry
}

# Sets WX, WY, WW, WH to the geometry of window WIN.
e2e_window_geometry() {
  eval "$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {print "WX=" $4}
    /Absolute upper-left Y/ {print "WY=" $4} /Width:/ {print "WW=" $2} /Height:/ {print "WH=" $2}')"
}

# Chooses File > Exit and waits up to 5 s for the program to end. Answers 0 when it ended
# with exit code 0; 1 when it did not end (it is still running), 2 when it failed. Clears
# ZK_PID once the program has ended.
e2e_exit_by_menu() {
  e2e_focus
  xdotool key alt+f
  sleep 0.3
  xdotool key x
  e2e_wait_end || return 1
  [ "$RC" -eq 0 ] || return 2
}

# CPU time (user + system) process $1 has taken so far, in clock ticks.
e2e_cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# "T s CPU = P % of one core" for the ticks $1 and $2 taken $3 seconds apart.
e2e_cpu_text() {
  local hz
  hz=$(getconf CLK_TCK)
  echo "$(echo "scale=2; ($2 - $1) / $hz" | bc) s CPU = $(echo "scale=2; 100 * ($2 - $1) / $hz / $3" | bc) % of one core"
}

# The CPU text of process $1 over the next $2 seconds.
e2e_cpu_over() {
  local c0 c1
  c0=$(e2e_cpu_ticks "$1")
  sleep "$2"
  c1=$(e2e_cpu_ticks "$1")
  e2e_cpu_text "$c0" "$c1" "$2"
}

e2e_focus() { xdotool windowfocus --sync "$WIN" >/dev/null 2>&1 || xdotool windowfocus "$WIN"; }

# Screenshot of the whole screen into $1.
e2e_shot() { import -window root "$1" 2>/dev/null; }

# The meter panel's pixel size: the client width and 1.6 : 1, under the menu bar. MENU_H,
# the menu bar's height, is measured: the first row of the window's left edge in the
# panel's colour, give or take 2 a channel ($1 as "r,g,b"; the default colour when not
# given). Waits up to 5 s for the panel to be drawn.
e2e_panel() {
  PW=$WW
  PH=$(( (WW * 10 + 8) / 16 ))
  e2e_until 50 e2e_panel_top "${1:-44,170,153}" || fail "the meter panel was not drawn"
}
e2e_panel_top() {
  local top
  e2e_shot "$E2E_TMP/panel.png"
  top=$(convert "$E2E_TMP/panel.png" -crop "1x${WH}+$(( WX + 2 ))+${WY}" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[ ,:()]+' -v c="$1" '
      function near(a, b) { return a - b <= 2 && b - a <= 2 }
      BEGIN { split(c, want, ",") }
      NR > 1 && near($3, want[1]) && near($4, want[2]) && near($5, want[3]) { print $2; exit }')
  [ -n "$top" ] || return 1
  MENU_H=$top
}

# The number of the program's windows on the screen besides the main window: the menus
# and boxes it has open.
e2e_popups() {
  echo $(( $(xdotool search --all --onlyvisible --pid "$ZK_PID" '' 2>/dev/null | wc -l) - 1 ))
}
e2e_popups_are() { [ "$(e2e_popups)" -eq "$1" ]; }

# Median x (screen) of the needle's pure red pixels in the dial's upper part; empty when
# there is no needle.
e2e_needle_x() {
  local top=$(( WY + MENU_H + PH / 10 )) h=$(( PH * 45 / 100 ))
  convert "$1" -crop "${PW}x${h}+${WX}+${top}" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[ ,:()]+' -v ox="$WX" 'NR > 1 && $3 >= 200 && $4 <= 60 && $5 <= 60 { print $1 + ox }' |
    sort -n | awk '{ xs[NR] = $1 } END { if (NR >= 30) print xs[int(NR / 2) + 1] }'
}

# A signature of a rectangle of the screenshot: $1 file, $2 x, $3 y, $4 w, $5 h.
e2e_region_sig() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format '%#' info: 2>/dev/null
}

# The status banner's rectangle and the knob's, in screen pixels.
e2e_banner_sig() {
  e2e_region_sig "$1" $(( WX + PW / 2 - PW / 8 )) $(( WY + MENU_H + PH * 74 / 100 )) $(( PW / 4 )) $(( PH * 11 / 100 ))
}
e2e_knob_sig() {
  e2e_region_sig "$1" $(( WX + PW * 2 / 100 )) $(( WY + MENU_H + PH * 68 / 100 )) $(( PW * 15 / 100 )) $(( PH * 24 / 100 ))
}

# Session file lines without their CR.
e2e_session_line() { sed -n "${2}p" "$1" | tr -d '\r'; }

# Recordings on disk. Set BIN first; the checks expect readings that rise from 10000 to at
# most 60000 (a ramp script).

# The values of one column of a recording's records (zodovaz-zkd csv, header line skipped).
e2e_zkd_column() { "$BIN/zodovaz-zkd" csv "$1" | awk -F, -v c="$2" 'NR > 1 { print $c }'; }

# Runs the command $2... every tenth of a second until it succeeds, for at most $1 tenths
# of a second; fails when it never did. Checks wait for their condition this way rather
# than for a fixed moment, which a loaded machine may miss.
e2e_until() {
  local tenths=$1 i
  shift
  for i in $(seq 1 "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to $2 tenths of a second for file $1.
e2e_wait_file() {
  local i
  for i in $(seq 1 "$2"); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Checks recording $1 (base path): it verifies, its readings rise with the script, and
# its sound lasts as long as its records: within a second, or with the sound up to $2 ms
# longer (the sound runs on until the watchdog misses the readings).
e2e_check_recording() {
  local base=$1 zkd=$1.zkd wav=$1.wav longer=${2:-1000}
  e2e_wait_file "$wav" 100 || fail "no $wav"
  e2e_wait_file "$zkd" 100 || fail "no $zkd"
  sleep 0.3
  "$BIN/zodovaz-zkd" verify "$zkd" >/dev/null || fail "$zkd does not verify: $("$BIN/zodovaz-zkd" verify "$zkd" 2>&1)"
  local raws n first last
  raws=$(e2e_zkd_column "$zkd" 3)
  n=$(echo "$raws" | wc -l)
  [ "$n" -ge 50 ] || fail "$zkd holds only $n records"
  first=$(echo "$raws" | head -1)
  last=$(echo "$raws" | tail -1)
  echo "$raws" | awk 'NR > 1 && $1 < prev { bad = 1 } { prev = $1 } END { exit bad }' ||
    fail "the raw readings of $zkd do not rise with the script"
  [ "$first" -ge 10000 ] && [ "$last" -le 60000 ] && [ "$last" -gt "$first" ] ||
    fail "the raw readings of $zkd ($first .. $last) do not follow the script"
  local last_ms wav_bytes wav_ms
  last_ms=$(e2e_zkd_column "$zkd" 2 | tail -1)
  wav_bytes=$(stat -c %s "$wav")
  wav_ms=$(( (wav_bytes - 44) * 1000 / 44100 ))  # 16-bit mono at 22050 samples a second
  [ $(( wav_ms - last_ms )) -le "$longer" ] && [ $(( last_ms - wav_ms )) -le 1000 ] ||
    fail "$wav lasts $wav_ms ms but the last record is at $last_ms ms"
  pass "$(basename "$base"): $n records rising $first .. $last, sound $wav_ms ms, last record at $last_ms ms"
}

# R, $1 seconds, S; waits for recording $2 to be saved. On a loaded machine the sound may
# take longer than usual to start, and an S pressed before the recording runs does
# nothing, so S is pressed again every two seconds until the file is there.
e2e_record_for() {
  local i
  e2e_focus
  xdotool key r
  sleep "$1"
  for i in 1 2 3 4 5; do
    e2e_focus
    xdotool key s
    e2e_wait_file "$2.zkd" 20 && return 0
  done
  fail "recording $2 was not saved"
}
