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

# The title once its timer has drawn the prompt's blue band.
seed_scores
start_installed_game
probe colours 'Meteorni *' 20 480 570 320 20 0000ff >/dev/null || fail "the title never drew its prompt"
close_and_check title

start_installed_game
focus_game; xdotool key g
see "G did not start level 1" 0 30 800 570 '<100000' sanmartino2.bmp
close_and_check playing

# Paused: the level's picture stands still (the lost-life one would too).
start_installed_game
focus_game; xdotool key g p
see "G did not start level 1" 0 30 800 570 '<100000' sanmartino2.bmp
probe still 'Meteorni *' 20 500 0 0 800 600 &&
  probe shows 'Meteorni *' 0 0 30 800 570 '<100000' sanmartino2.bmp >/dev/null || fail "P did not pause level 1"
close_and_check paused

start_installed_game
focus_game; xdotool key g n
see "N did not show the level-complete picture" 0 0 800 600 '<2000' livello.bmp
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
probe wait Classifica 20 0 || fail "the name dialog did not close"
close_and_check "after the save"
[ "$(wc -l <"$score_file")" = 2 ] || fail "the second game was not filed exactly once"
echo "close in any state: all checks pass"
