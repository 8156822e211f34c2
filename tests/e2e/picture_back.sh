#!/usr/bin/env bash
# The game window gets its whole picture back (corner marks, background,
# score strip, sprites) after another window covered it, during play and
# during the pause, and after it was minimized and restored.
# With SCREENSHOT_DIR set, keeps screenshots of what it saw there.
source "$(dirname "$0")/lib.sh"

# The three corner marks the game stamps at the top left: green, white, red.
expect_marks() {
  [ "$(pixel "$work/$1.miff" 0 0)" = "0 255 0" ] && [ "$(pixel "$work/$1.miff" 1 0)" = "255 255 255" ] &&
    [ "$(pixel "$work/$1.miff" 2 0)" = "255 0 0" ] || fail "$2: no corner marks"
}

# The level's background shows everywhere but under the sprites and the
# score strip (a window that lost its picture differs almost everywhere).
expect_level() {
  local differing
  differing=$(area_difference "$1" sanmartino2.bmp 0 0 800 600)
  [ "$differing" -lt 80000 ] || fail "$2: the background is gone ($differing pixels differ)"
}

# True when the client area shows the screenshot NAME again, pixel for pixel;
# changed holds the pixels that differ.
shows_again() {
  shot again
  changed=$(difference "$work/$1.miff" "$work/again.miff" 0% 0 0 800 600)
  [ "$changed" = 0 ]
}

# P, and the picture stands still (whether it is the game's is checked next).
pause() {
  focus_game
  xdotool key p
  probe still 'Meteorni *' 20 500 0 0 800 600 || fail "the picture never stood still after P"
}

# Minimized until the game knows it is, then restored.
minimize_and_restore() {
  local window
  window=$(xdotool search --name '^Meteorni' | head -n1)
  xdotool windowminimize --sync "$window"
  probe wait 'Meteorni *' 20 iconic || fail "the game window was not minimized"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowmap --sync "$window"
}

seed_scores
start_installed_game
focus_game
xdotool key g
see "G did not start level 1" 0 30 800 570 '<100000' sanmartino2.bmp

# Covered while the rocks fall, then paused: the picture is the game's.
probe cover 'Meteorni *' 0.8
pause
shot paused
expect_marks paused "covered during play"
expect_level paused "covered during play"

# Covered while paused: the same picture, pixel for pixel.
probe cover 'Meteorni *' 0.8
wait_until 20 shows_again paused || fail "covered during the pause: $changed pixels differ from before"

# Minimized and restored while paused.
minimize_and_restore
wait_until 20 shows_again paused || fail "minimized during the pause: $changed pixels differ from before"

# Minimized while the rocks fall, restored, paused: what shows is the game's
# picture, which a repaint (minimized and restored again) leaves as it is.
focus_game
xdotool key p
wait_until 20 moved_since paused || fail "nothing moved after P resumed the game"
minimize_and_restore
pause
shot restored_play
expect_marks restored_play "minimized during play"
expect_level restored_play "minimized during play"
keep_screenshot restored_play restored
minimize_and_restore
wait_until 20 shows_again restored_play || fail "minimized during play: $changed pixels differ from the game's picture"

close_game
echo "picture back: all checks pass"
