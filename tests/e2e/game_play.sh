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
sleep 0.3
shot title0
logo_diff=$(area_difference title0 logo.bmp 0 40 800 100)
[ "$logo_diff" -lt 400 ] || fail "the title does not show logo.bmp ($logo_diff pixels differ)"

# The title runs on the game's own timer: within a few seconds the prompt
# blinks, red and white in turn on its blue band. Each colour stays half a
# second, and the probe looks every 30 ms, so no rhythm of its looks can miss
# one.
unseen=$(probe colours 'Meteorni *' 5 480 570 320 20 0000ff ff0000 ffffff) || fail "the prompt never blinked: $unseen"
shot blink
keep_screenshot blink title

# G: level 1 and the ship at the bottom centre.
focus_game
xdotool key g
sleep 0.6
shot play1
ship_here=$(area_difference play1 sanmartino2.bmp 380 555 40 40)
[ "$ship_here" -gt 400 ] || fail "no ship at the bottom centre"
keep_screenshot play1 play

# An arrow key moves the ship left.
xdotool keydown Left
sleep 0.8
xdotool keyup Left
shot moved
ship_left=$(area_difference moved sanmartino2.bmp 300 555 40 40)
[ "$ship_left" -gt 400 ] || fail "the ship did not move left"

# P freezes the picture, P again resumes. A rock may hit the ship just
# before P ("Hai perso una vita"), and P pressed during that picture does
# nothing: then wait for the level to start again and press P once more.
paused=0
for _ in $(seq 1 5); do
  xdotool key p
  sleep 0.3
  shot paused_a
  sleep 0.6
  shot paused_b
  if [ "$(area_difference paused_a replay.bmp 0 0 800 600)" -ge 2000 ] &&
     [ "$(area_difference paused_b replay.bmp 0 0 800 600)" -ge 2000 ]; then
    frozen=$(screens_difference paused_a paused_b 0 20 800 580)
    [ "$frozen" = 0 ] || fail "the picture changed while paused ($frozen pixels)"
    paused=1
    break
  fi
  sleep 2.5
done
[ "$paused" = 1 ] || fail "P never paused a level in play"
xdotool key p
sleep 0.6
shot resumed
moving=$(screens_difference paused_b resumed 0 20 800 580)
[ "$moving" -gt 100 ] || fail "nothing moved after resuming"

# N: the level-complete picture, then level 2 on its own background. A rock
# may hit the idle ship first ("Hai perso una vita"), and N pressed during that
# picture does nothing: then wait for the level to start again and press N
# once more.
skipped=0
for _ in $(seq 1 5); do
  shot before_n
  xdotool key n
  sleep 0.5
  shot interlude
  if [ "$(area_difference interlude livello.bmp 0 0 800 600)" -lt 2000 ]; then
    skipped=1
    break
  fi
  sleep 2.5
done
[ "$skipped" = 1 ] || fail "N never reached the level-complete picture"
keep_screenshot interlude interlude
# The interlude lasts 1.5 s; allow a slow machine a few seconds more.
level2=999999
for _ in $(seq 1 20); do
  sleep 0.5
  shot level2
  level2=$(area_difference level2 cattedrale.bmp 0 30 800 570)
  [ "$level2" -lt 120000 ] && break
done
[ "$level2" -lt 120000 ] || fail "level 2 does not show cattedrale.bmp ($level2 pixels differ)"
[ "$(screens_difference before_n level2 690 2 108 16)" -gt 0 ] || fail "the level number did not change"

# File > Esci ends the program with exit code 0.
focus_game
xdotool key alt+f
sleep 0.4
xdotool key e
wait_game
[ "$game_code" = 0 ] || fail "exit code $game_code after Esci"
[ "$(probe count 'Meteorni *')" = 0 ] || fail "the game window is still there"
echo "game play: all checks pass"
