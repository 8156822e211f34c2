#!/usr/bin/env bash
# The game as a player meets it: the title screen with its ticker, a level in
# play, the keys, the level-complete picture, the menu's exit.
# With SCREENSHOT_DIR set, keeps screenshots of what it saw there.
source "$(dirname "$0")/lib.sh"

seed_scores \
  "00000300 ZENO         Level 3" \
  "00000200 ANNA         Level 2" \
  "00000100 LUCA         Level 1"

start_installed_game
read -r cx cy cw ch <<<"$(probe client 'Meteorni *')"
[ "$cw" = 800 ] && [ "$ch" = 600 ] || fail "client area is ${cw}x${ch}, expected 800x600"
[ "$(probe count 'Meteorni ©*')" = 1 ] || fail "caption is not 'Meteorni ©...'"

# Title: the logo.
see "the title does not show logo.bmp" 0 40 800 100 '<400' logo.bmp

# The title runs on the game's own timer: within a few seconds the prompt
# blinks, red and white in turn on its blue band. Each colour stays half a
# second, and the probe looks every 30 ms, so no rhythm of its looks can miss
# one.
unseen=$(probe colours 'Meteorni *' 5 480 570 320 20 0000ff ff0000 ffffff) || fail "the prompt never blinked: $unseen"
shot blink
keep_screenshot blink title

# G: level 1 and the ship at the bottom centre, with its red and green lights
# (at x + 3 and x + 45, colours no rock or diamond has).
focus_game
xdotool key g
see "G did not start level 1" 0 30 800 570 '<100000' sanmartino2.bmp
probe colours 'Meteorni *' 20 375 575 50 15 e63228 3cdc5a >/dev/null || fail "no ship lights at the bottom centre"
see "no ship at the bottom centre" 380 555 40 40 '>400' sanmartino2.bmp
shot play1
keep_screenshot play1 play

# An arrow key held moves the ship left: its right, green light shows left of
# x = 340, some 80 pixels on.
xdotool keydown Left
probe colours 'Meteorni *' 20 0 555 340 40 3cdc5a >/dev/null || fail "the ship did not move left"
xdotool keyup Left

# P freezes the picture, P again resumes. A rock may hit the ship just
# before P ("Hai perso una vita"), and P pressed during that picture does
# nothing: then wait for the level to start again and press P once more.
paused=0
for _ in $(seq 1 5); do
  xdotool key p
  probe still 'Meteorni *' 20 500 0 0 800 600 || fail "the picture never stood still after P"
  shot paused_a
  sleep 0.6 # how long the picture must stay frozen
  shot paused_b
  if [ "$(area_difference paused_a replay.bmp 0 0 800 600)" -ge 2000 ] &&
     [ "$(area_difference paused_b replay.bmp 0 0 800 600)" -ge 2000 ]; then
    frozen=$(screens_difference paused_a paused_b 0 20 800 580)
    [ "$frozen" = 0 ] || fail "the picture changed while paused ($frozen pixels)"
    paused=1
    break
  fi
  see "the lost-life picture stays" 0 0 800 600 '>2000' replay.bmp
done
[ "$paused" = 1 ] || fail "P never paused a level in play"
xdotool key p
wait_until 20 moved_since paused_b || fail "nothing moved after resuming"

# N: the level-complete picture, then level 2 on its own background. A rock
# may hit the idle ship first ("Hai perso una vita"), and N pressed during that
# picture does nothing: then wait for the level to start again and press N
# once more.
skipped=0
for _ in $(seq 1 5); do
  shot before_n
  xdotool key n
  see "N showed neither the level-complete picture nor a lost life" 0 0 800 600 '<2000' livello.bmp replay.bmp
  [ "$seen" = livello.bmp ] && skipped=1 && break
  see "the lost-life picture stays" 0 0 800 600 '>2000' replay.bmp
done
[ "$skipped" = 1 ] || fail "N never reached the level-complete picture"
shot interlude
keep_screenshot interlude interlude
# The interlude lasts 1.5 s.
see "level 2 does not show cattedrale.bmp" 0 30 800 570 '<120000' cattedrale.bmp
shot level2
[ "$(screens_difference before_n level2 690 2 108 16)" -gt 0 ] || fail "the level number did not change"

# File > Esci ends the program with exit code 0.
focus_game
xdotool key alt+f
probe wait '' 20 || fail "alt+F opened no menu"
xdotool key e
wait_game
[ "$game_code" = 0 ] || fail "exit code $game_code after Esci"
[ "$(probe count 'Meteorni *')" = 0 ] || fail "the game window is still there"
echo "game play: all checks pass"
