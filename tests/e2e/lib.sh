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

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
    kill "$game_pid" 2>/dev/null || true
  fi
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
