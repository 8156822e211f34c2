#!/usr/bin/env bash
# Closing the game window (as the close box or the taskbar does) in every
# state of play ends the program with exit code 0 and leaves nothing behind.
source "$(dirname "$0")/lib.sh"

close_and_check() {
  local state=$1
  probe close 'Meteorni *'
  wait_game
  [ "$game_code" = 0 ] || fail "exit code $game_code after closing in $state"
  [ "$(probe count 'Meteorni *')" = 0 ] || fail "a game window is left after closing in $state"
  [ "$(probe count Classifica)" = 0 ] || fail "a name dialog is left after closing in $state"
}

seed_scores
start_installed_game
sleep 0.8
close_and_check title

start_installed_game
focus_game; xdotool key g; sleep 0.5
close_and_check playing

start_installed_game
focus_game; xdotool key g; sleep 0.3; xdotool key p; sleep 0.3
close_and_check paused

start_installed_game
focus_game; xdotool key g; sleep 0.3; xdotool key n; sleep 0.5
close_and_check interlude

# Name entry: the game window is disabled behind the dialog; closing it still
# ends the program, and the result of the game is filed once.
start_installed_game
play_to_name_entry
close_and_check "name entry"
[ "$(wc -l <"$score_file")" = 1 ] || fail "closing during name entry did not file the result exactly once"

# After the save.
start_installed_game
play_to_name_entry
probe close Classifica
sleep 0.5
close_and_check "after the save"
[ "$(wc -l <"$score_file")" = 2 ] || fail "the second game was not filed exactly once"
echo "close in any state: all checks pass"
