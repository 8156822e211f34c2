#!/usr/bin/env bash
# A player whose user folder has a name outside Latin-1: the test prefix's
# local application-data folder is pointed at such a folder for this script
# (and put back at its end), a whole game is played, and the result must be
# in Classifica.txt there.
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
play_to_name_entry
xdotool type --delay 80 lena
confirm_name

table="$local_dir/Meteorni/Score/Classifica.txt"
[ -f "$table" ] || fail "no Classifica.txt under $local_dir: $(find "$work" -name Classifica.txt)"
line=$(head -n1 "$table" | tr -d '\r')
[[ "$line" =~ ^[0-9]{8}\ LENA\ {8}\ Level\ [0-9]+$ ]] || fail "unexpected high-score line: $line"

close_game
echo "profile folder: all checks pass"
