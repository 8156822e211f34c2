#!/usr/bin/env bash
# A whole game played to its end: lives lost to the rocks, the name dialog,
# the name typed, the result in the high-score file and on the title ticker.
# With SCREENSHOT_DIR set, keeps screenshots of what it saw there.
source "$(dirname "$0")/lib.sh"

seed_scores
start_installed_game
# Until the third lost life: the name dialog opens over the game window.
play_to_name_entry
[ "$(probe enabled 'Meteorni *')" = 0 ] || fail "the game window takes input while the dialog is open"
read -r gl gt gr gb <<<"$(probe rect 'Meteorni *')"
read -r dl dt dr db <<<"$(probe rect Classifica)"
centre_x=$(( (gl + gr) / 2 - (dl + dr) / 2 ))
centre_y=$(( (gt + gb) / 2 - (dt + db) / 2 ))
[ "${centre_x#-}" -le 2 ] && [ "${centre_y#-}" -le 2 ] || fail "the dialog is not centred ($centre_x, $centre_y)"
probe texts Classifica | grep -qx "Inserisci il tuo nome:" || fail "no prompt in the dialog"
shot gameover
[ "$(area_difference gameover gameover.bmp 0 0 800 200)" -lt 3000 ] || fail "no game-over picture"

# The name is typed straight away, in capitals, and confirmed with Enter.
xdotool type --delay 80 anna
sleep 0.3
shot dialog
keep_screenshot dialog name-dialog
probe texts Classifica | grep -qx "ANNA" || fail "the name box does not show ANNA: $(probe texts Classifica)"
confirm_name
[ "$(probe enabled 'Meteorni *')" = 1 ] || fail "the game window stays disabled"

table=$(cat "$score_file")
line=$(head -n1 "$score_file" | tr -d '\r')
[[ "$line" =~ ^[0-9]{8}\ ANNA\ {8}\ Level\ [0-9]+$ ]] || fail "unexpected high-score line: $line"
[ "$(wc -l <"$score_file")" = 1 ] || fail "the table has more than one line: $table"

# Any key returns to the title, whose ticker now shows the new line.
focus_game
xdotool key x
sleep 0.4
shot back
[ "$(area_difference back logo.bmp 0 40 800 100)" -lt 400 ] || fail "not back on the title screen"
ticker=0
for _ in $(seq 1 14); do
  sleep 0.25
  shot ticker
  [ "$(count_colour ticker "#FFFFFF" 0 0 800 20)" -gt 8000 ] && ticker=1 && break
done
[ "$ticker" = 1 ] || fail "the ticker does not show the new result"

close_game
echo "game over: all checks pass"
