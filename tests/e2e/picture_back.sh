#!/usr/bin/env bash
# The game window gets its whole picture back (corner marks, background,
# score strip, sprites) after another window covered it, during play and
# during the pause, and after it was minimized and restored.
# With SCREENSHOT_DIR set, keeps screenshots of what it saw there.
source "$(dirname "$0")/lib.sh"

# Pixels of the client area that differ between two screenshots, exactly.
exact_difference() {
  difference "$work/$1.png" "$work/$2.png" 0% 0 0 800 600
}

# The three corner marks the game stamps at the top left: green, white, red.
expect_marks() {
  [ "$(pixel "$work/$1.png" 0 0)" = "0 255 0" ] && [ "$(pixel "$work/$1.png" 1 0)" = "255 255 255" ] &&
    [ "$(pixel "$work/$1.png" 2 0)" = "255 0 0" ] || fail "$2: no corner marks"
}

# The level's background shows everywhere but under the sprites and the
# score strip (a window that lost its picture differs almost everywhere).
expect_level() {
  local differing
  differing=$(area_difference "$1" sanmartino2.bmp 0 0 800 600)
  [ "$differing" -lt 80000 ] || fail "$2: the background is gone ($differing pixels differ)"
}

pause_toggle() {
  focus_game
  xdotool key p
  sleep 0.4
}

minimize_and_restore() {
  local window
  window=$(xdotool search --name '^Meteorni' | head -n1)
  xdotool windowminimize --sync "$window"
  sleep 0.6
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowmap --sync "$window"
  sleep "$1"
}

seed_scores
start_installed_game
focus_game
xdotool key g
sleep 0.5

# Covered while the rocks fall, then paused: the picture is the game's.
probe cover 'Meteorni *' 0.8
sleep 0.2
pause_toggle
shot paused
expect_marks paused "covered during play"
expect_level paused "covered during play"

# Covered while paused: the same picture, pixel for pixel.
probe cover 'Meteorni *' 0.8
sleep 0.4
shot covered_paused
changed=$(exact_difference paused covered_paused)
[ "$changed" = 0 ] || fail "covered during the pause: $changed pixels differ from before"

# Minimized and restored while paused.
minimize_and_restore 0.6
shot restored_paused
changed=$(exact_difference paused restored_paused)
[ "$changed" = 0 ] || fail "minimized during the pause: $changed pixels differ from before"

# Minimized while the rocks fall, restored, paused: what shows is the game's
# picture, which a repaint (minimized and restored again) leaves as it is.
pause_toggle
minimize_and_restore 0.3
pause_toggle
shot restored_play
expect_marks restored_play "minimized during play"
expect_level restored_play "minimized during play"
keep_screenshot restored_play restored
minimize_and_restore 0.6
shot repainted
changed=$(exact_difference restored_play repainted)
[ "$changed" = 0 ] || fail "minimized during play: $changed pixels differ from the game's picture"

probe close 'Meteorni *'
wait_game
[ "$game_code" = 0 ] || fail "exit code $game_code"
echo "picture back: all checks pass"
