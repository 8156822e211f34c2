#!/usr/bin/env bash
# A whole game played to its end by a player whose user folder has a name
# outside Latin-1: lives lost to the rocks, the name dialog, the name typed, the
# result in Classifica.txt under that folder, and back to the title. The test
# prefix's local application-data folder points there for this script and is
# put back at its end.
# With SCREENSHOT_DIR set, keeps screenshots of what it saw there.
source "$(dirname "$0")/lib.sh"

folders_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
saved_values=()

# Remembers a value of a shell-folder key as the arguments that put it back.
save_value() {
  local key="$folders_key\\$1" type data
  read -r type data < <(wine reg query "$key" /v "Local AppData" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Local AppData *\(REG_[A-Z_]*\) *\(.*\)$/\1 \2/p')
  if [ -n "$type" ]; then
    saved_values+=("add|$key|$type|$data")
  else
    saved_values+=("delete|$key||")
  fi
}

restore_values() {
  local entry action key type data
  for entry in "${saved_values[@]}"; do
    IFS='|' read -r action key type data <<<"$entry"
    if [ "$action" = add ]; then
      wine reg add "$key" /v "Local AppData" /t "$type" /d "$data" /f >/dev/null 2>&1 || true
    else
      wine reg delete "$key" /v "Local AppData" /f >/dev/null 2>&1 || true
    fi
  done
}
trap 'restore_values; cleanup' EXIT

local_dir="$work/Łukasz Дмитрий 王伟/AppData/Local"
mkdir -p "$local_dir"
windows_dir=$(winepath -w "$local_dir" 2>/dev/null | tr -d '\r')
[ -n "$windows_dir" ] || fail "no Windows path for $local_dir"
save_value "User Shell Folders"
save_value "Shell Folders"
wine reg add "$folders_key\\User Shell Folders" /v "Local AppData" /t REG_EXPAND_SZ /d "$windows_dir" /f \
  >/dev/null 2>&1 || fail "cannot set the local application-data folder"
wine reg add "$folders_key\\Shell Folders" /v "Local AppData" /t REG_SZ /d "$windows_dir" /f >/dev/null 2>&1 || true

start_installed_game
# Until the third lost life: the name dialog opens over the game window.
play_to_name_entry
probe texts Classifica | grep -qx "Inserisci il tuo nome:" || fail "no prompt in the dialog"
see "no game-over picture" 0 0 800 200 '<3000' gameover.bmp

# The name is typed straight away, in capitals, and confirmed with Enter.
xdotool type --delay 80 anna
wait_until 20 name_box_shows ANNA || fail "the name box does not show ANNA: $(probe texts Classifica)"
shot dialog
keep_screenshot dialog name-dialog
confirm_name

table="$local_dir/Meteorni/Score/Classifica.txt"
[ -f "$table" ] || fail "no Classifica.txt under $local_dir: $(find "$work" -name Classifica.txt)"
line=$(head -n1 "$table" | tr -d '\r')
[[ "$line" =~ ^[0-9]{8}\ ANNA\ {8}\ Level\ [0-9]+$ ]] || fail "unexpected high-score line: $line"
[ "$(wc -l <"$table")" = 1 ] || fail "the table has more than one line: $(cat "$table")"

# Any key returns to the title.
focus_game
xdotool key x
see "not back on the title screen" 0 40 800 100 '<400' logo.bmp

close_game
echo "game over: all checks pass"
