# Shared by the end-to-end scripts. They run inside scripts/test: DISPLAY,
# WINEPREFIX and a persistent wineserver are already there. $1 of every script
# is the path of the built Meteorni.exe; window_probe.exe sits beside it.

set -euo pipefail
game_exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
bin_dir=$(dirname "$game_exe")
build_root=$(dirname "$bin_dir")
probe_exe="$bin_dir/window_probe.exe"
work=$(mktemp -d)
game_pid=""
score_dir=""
score_file=""

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
    kill "$game_pid" 2>/dev/null || true
  fi
  [ -n "$score_dir" ] && rm -rf "$(dirname "$score_dir")"
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }

# Runs the command again, 50 ms apart, until it succeeds; returns 1 when it
# has not within $1 seconds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Waits until the game's client area shows one of the pictures (window_probe
# shows X Y W H <N|>N PICTURE...) and leaves it in seen; fails with $1 and the
# counts seen last when it has not within 20 s.
see() {
  seen=$(probe shows 'Meteorni *' 20 "${@:2}") || fail "$1: $seen"
}

# Lays out a game folder under $work/$1: bin/Meteorni.exe plus whatever the
# caller copies in afterwards.
make_game_folder() {
  local folder="$work/$1"
  mkdir -p "$folder/bin"
  cp "$game_exe" "$folder/bin/"
  echo "$folder"
}

# Waits for the background game to end and stores its exit code in game_code.
game_code=""
wait_game() {
  game_code=0
  wait "$game_pid" || game_code=$?
  game_pid=""
}

# The colour of one screen pixel as "r g b" (0-255).
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# The test prefix's local application-data folder, as a Unix path.
local_appdata() {
  local folder
  folder=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
  winepath -u "$folder" 2>/dev/null
}

# Starts from an empty high-score folder in the test prefix; the arguments, if
# any, become the lines of the table.
seed_scores() {
  score_dir="$(local_appdata)/Meteorni/Score"
  rm -rf "$(dirname "$score_dir")"
  mkdir -p "$score_dir"
  score_file="$score_dir/Classifica.txt"
  if [ $# -gt 0 ]; then printf '%s\r\n' "$@" >"$score_file"; fi
}

# Starts the built game from bin/ as a player would and waits for its window;
# win_x, win_y are its client area's place on the screen.
start_installed_game() { start_game_from "$bin_dir"; }

# The same for another bin/ folder (an unpacked release); the window is there
# once it shows the corner marks (green, white, red) every frame ends with.
start_game_from() {
  (cd "$1" && exec wine Meteorni.exe) &
  game_pid=$!
  probe colours 'Meteorni *' 30 0 0 3 1 00ff00 ffffff ff0000 >/dev/null || fail "the game window did not open"
  read -r win_x win_y _ _ <<<"$(probe client 'Meteorni *')"
}

# True while the window manager holds the X window $1 as the active one.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Brings the first visible window whose title matches the pattern to the front;
# once the window manager has made it active, Wine has given it the keys too.
activate() {
  local window=""
  wait_until 20 xdotool search --onlyvisible --name "$1" >/dev/null || fail "no window titled $1"
  window=$(xdotool search --onlyvisible --name "$1" | head -n 1)
  xdotool windowactivate "$window" >/dev/null 2>&1 || true
  wait_until 20 is_active "$window" || fail "the window titled $1 does not come to the front"
}

focus_game() { activate '^Meteorni'; }

# From the title screen to the name dialog: "g", then the ship flown into the
# rocks of level 1 until the third lost life opens the dialog (the probe lets
# the arrow keys go once it shows). The name box stays empty.
play_to_name_entry() {
  focus_game
  xdotool key g
  probe chase 'Meteorni *' 240 Classifica \
    sanmartino2.bmp cattedrale.bmp chiesacerreto.bmp palazzogenio.bmp santuario.bmp || fail "the game never ended"
  activate '^Classifica$'
}

# True when the name dialog's box shows the text.
name_box_shows() { probe texts Classifica | grep -qx "$1"; }

# Enter in the name box: the dialog must close.
confirm_name() {
  xdotool key Return
  probe wait Classifica 20 0 || fail "the dialog is still open after Enter"
}

# Closes the game window as the window manager would; the exit code must be 0.
close_game() {
  probe close 'Meteorni *'
  wait_game
  [ "$game_code" = 0 ] || fail "exit code $game_code"
}

# A screenshot of the game's client area as $work/NAME.miff (PNG is slow to write).
shot() {
  import -window root -crop "800x600+${win_x}+${win_y}" +repage "$work/$1.miff"
}

keep_screenshot() {
  if [ -n "${SCREENSHOT_DIR:-}" ]; then
    mkdir -p "$SCREENSHOT_DIR"
    convert "$work/$1.miff" "$SCREENSHOT_DIR/$2.png"
  fi
}

# Pixels of a rectangle (x y width height) that differ between two images.
difference() {
  local geometry="${6}x${7}+${4}+${5}"
  printf '%.0f\n' "$(convert \( "$1" -crop "$geometry" +repage \) \( "$2" -crop "$geometry" +repage \) \
    -metric AE -fuzz "$3" -compare -format '%[distortion]' info: 2>&1 || true)"
}

# Pixels of a rectangle that differ between a screenshot and a shipped picture.
area_difference() {
  difference "$work/$1.miff" "$build_root/images_games/$2" 8% "${@:3}"
}

# Pixels of a rectangle that differ between two screenshots.
screens_difference() {
  difference "$work/$1.miff" "$work/$2.miff" 3% "${@:3}"
}

# True once the client area below the score strip differs from the screenshot
# NAME in more than 100 pixels: something moved.
moved_since() {
  shot now
  [ "$(screens_difference "$1" now 0 20 800 580)" -gt 100 ]
}
