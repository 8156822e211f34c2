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

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

probe() {
  wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'
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

screenshot() {
  import -window root "$1"
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
start_installed_game() {
  start_game_from "$bin_dir"
}

# The same for the Meteorni.exe of another bin/ folder (an unpacked release).
start_game_from() {
  (cd "$1" && exec wine Meteorni.exe) &
  game_pid=$!
  probe wait 'Meteorni *' 30 || fail "the game window did not open"
  sleep 0.3
  read -r win_x win_y _ _ <<<"$(probe client 'Meteorni *')"
}

focus_game() {
  xdotool search --name '^Meteorni' windowactivate --sync >/dev/null 2>&1 || true
  sleep 0.2
}

# From the title screen to the name dialog: a game started with "g", levels
# skipped with "n" so that faster rocks end it sooner, the ship left where it
# is. No "n" is pressed once the dialog is up; the name box is left empty.
play_to_name_entry() {
  focus_game
  xdotool key g
  sleep 0.5
  for _ in $(seq 1 7); do
    [ "$(probe count Classifica)" = 0 ] || break
    xdotool key n
    sleep 1.8
  done
  probe wait Classifica 240 || fail "the game never ended"
  sleep 0.5
  # (A key pressed while the dialog was opening may already sit in the box.)
  xdotool search --name '^Classifica$' windowactivate --sync >/dev/null 2>&1 || true
  xdotool key --repeat 12 --delay 30 BackSpace
}

# Enter in the name box: the dialog must close.
confirm_name() {
  xdotool key Return
  sleep 0.8
  [ "$(probe count Classifica)" = 0 ] || fail "the dialog is still open after Enter"
}

# Closes the game window as the window manager would; the exit code must be 0.
close_game() {
  probe close 'Meteorni *'
  wait_game
  [ "$game_code" = 0 ] || fail "exit code $game_code"
}

# A screenshot of the game's client area, kept as $work/NAME.png.
shot() {
  import -window root -crop "800x600+${win_x}+${win_y}" +repage "$work/$1.png"
}

keep_screenshot() {
  if [ -n "${SCREENSHOT_DIR:-}" ]; then
    mkdir -p "$SCREENSHOT_DIR"
    cp "$work/$1.png" "$SCREENSHOT_DIR/$2.png"
  fi
}

# Pixels of a rectangle (x y width height) that differ between two images.
difference() {
  local a=$1 b=$2 fuzz=$3 geometry="${6}x${7}+${4}+${5}"
  convert "$a" -crop "$geometry" +repage "$work/.a.png"
  convert "$b" -crop "$geometry" +repage "$work/.b.png"
  printf '%.0f\n' "$(compare -metric AE -fuzz "$fuzz" "$work/.a.png" "$work/.b.png" null: 2>&1 || true)"
}

# Pixels of a rectangle that differ between a screenshot and a shipped picture.
area_difference() {
  difference "$work/$1.png" "$build_root/images_games/$2" 8% "${@:3}"
}

# Pixels of a rectangle that differ between two screenshots.
screens_difference() {
  difference "$work/$1.png" "$work/$2.png" 3% "${@:3}"
}
