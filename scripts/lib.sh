# Shared by scripts/setup, scripts/test and scripts/play: where things live and
# how the virtual display and the Wine server are started and stopped.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$root/build/mingw"
test_prefix="$root/build/wineprefix"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8

started_pids=()
started_wineserver=0

# Starts Xvfb on a free display number and waits until it answers.
start_display() {
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  started_pids+=($!)
  read -r -t 20 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY does not answer" >&2
  return 1
}

# A small window manager, so that windows get the keyboard focus as on a desktop.
# It manages windows once it has named itself on the root window. Now and then
# (seldom, and only right after an earlier session ended) it never does: it is
# then started again, up to three times in all, and what it said is shown.
start_window_manager() {
  local log pid attempt
  log=$(mktemp)
  for attempt in 1 2 3; do
    openbox --sm-disable >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do
      if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        started_pids+=("$pid")
        rm -f "$log"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" >/dev/null 2>&1 || true
    wait "$pid" >/dev/null 2>&1 || true
    echo "openbox did not take the screen (try $attempt of 3); it said: $(cat "$log")" >&2
  done
  rm -f "$log"
  return 1
}

# One persistent Wine server for the prefix, so each test process starts fast.
# The first Wine process also starts Wine's own background services, which
# live as long as the server and keep the output of whoever started them open;
# starting them here, detached from any test's output, keeps CTest from waiting
# on them.
start_wineserver() {
  # A server still running for a set-up step must end first.
  wineserver -w
  wineserver -p
  started_wineserver=1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# A private PulseAudio server for the run, so that the sound test can hear the
# game: one null sink (the default output, whose monitor is the default
# input) and the native protocol open to anyone on its socket. Its home,
# runtime and state folders are under build/, and so are the settings of its
# clients (Wine's PulseAudio driver, the pulse tools), which find it through
# the variables exported here and never start a server of their own: the
# user's server and ~/.config/pulse are neither reached nor read. The sink never
# rewinds: a rewind would drop from the monitor the start of a sound that a
# player still hears. Waits up to 10 s for it to answer with that sink as the
# default; returns non-zero, with the reason, if it does not.
audio_dir="$root/build/pulse"
start_audio_server() {
  rm -rf "$audio_dir/run"
  mkdir -p "$audio_dir/home" "$audio_dir/run" "$audio_dir/state"
  export PULSE_RUNTIME_PATH="$audio_dir/run"
  export PULSE_STATE_PATH="$audio_dir/state"
  export PULSE_SERVER="unix:$audio_dir/run/native"
  export PULSE_COOKIE="$audio_dir/home/cookie"
  export PULSE_CLIENTCONFIG="$audio_dir/client.conf"
  echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
  # No display and no session bus: the server must not announce itself on the
  # desktop's.
  env -u DISPLAY HOME="$audio_dir/home" XDG_CONFIG_HOME="$audio_dir/home" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$audio_dir/no-bus" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --high-priority=no --realtime=no \
    --log-target="file:$audio_dir/server.log" \
    -L "module-null-sink sink_name=meteorni norewinds=1" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$audio_dir/run/native" \
    </dev/null >/dev/null 2>&1 &
  started_pids+=($!)
  local server=$!
  for _ in $(seq 1 100); do
    [ "$(pactl get-default-sink 2>/dev/null)" = meteorni ] && return 0
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  echo "The PulseAudio server for the sound test did not start (log: $audio_dir/server.log)" >&2
  return 1
}

stop_started() {
  if [ "$started_wineserver" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  # Last started first: the window manager goes before its display.
  local i
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
    kill "${started_pids[i]}" >/dev/null 2>&1 || true
    wait "${started_pids[i]}" >/dev/null 2>&1 || true
  done
}

# Makes a Wine prefix that never waits on the Mono or Gecko installers and
# never shows the crash dialog (a crashing test then fails instead of hanging),
# and gives it the score strip's font.
prepare_prefix() {
  local prefix=$1
  if [ ! -f "$prefix/system.reg" ]; then
    echo "Preparing the Wine prefix $prefix (once) ..."
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
  fi
  map_strip_font "$prefix"
}

# The game draws its score strip in "Lucida Console", a fixed-pitch Windows
# font that Wine does not ship: left alone, Wine picks a proportional font and
# the strip's digits shift as they change. Wine looks a font it lacks up in the
# prefix's replacement list; there "Lucida Console" becomes DejaVu Sans Mono
# (fonts-dejavu-core). A prefix that has the real font keeps using it. Reading
# the registry file first makes this free once done, also for prefixes made
# before it existed.
strip_font_replacement="DejaVu Sans Mono"
map_strip_font() {
  local prefix=$1
  awk -v line="\"Lucida Console\"=\"$strip_font_replacement\"" '
    /^\[/ { section = index($0, "[Software\\\\Wine\\\\Fonts\\\\Replacements]") == 1 }
    section && $0 == line { found = 1 }
    END { exit !found }' "$prefix/user.reg" 2>/dev/null && return 0
  WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Lucida Console' \
    /t REG_SZ /d "$strip_font_replacement" /f >/dev/null 2>&1
  # That Wine session ran without the display the game will use: let it end,
  # or the game would join it and show no window.
  WINEPREFIX="$prefix" wineserver -w
}

build_game() {
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw
}
