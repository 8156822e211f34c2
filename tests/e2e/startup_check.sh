#!/usr/bin/env bash
# The picture-folder check at start-up, as a player meets it.
source "$(dirname "$0")/lib.sh"

expected_text="Immagini non trovate.
Se esegui il gioco da un archivio zip dovrai decomprimere tutto il contenuto in una cartella ed eseguire il gioco dalla cartella"

# True once the game window is open, which it then closes, or the program has
# ended; fails on an error box.
opened_or_ended() {
  kill -0 "$game_pid" 2>/dev/null || return 0
  [ "$(probe count Errore)" = 0 ] || fail "an error box appeared for $1"
  [ "$(probe count 'Meteorni *')" != 0 ] || return 1
  probe close 'Meteorni *'
}

# Starts bin/Meteorni.exe of a game folder from its bin/ folder; when the game
# window opens instead of an error, closes it. Leaves the exit code in game_code.
run_expecting_no_error() {
  (cd "$1/bin" && exec wine Meteorni.exe) &
  game_pid=$!
  wait_until 30 opened_or_ended "$1" || fail "neither a window nor an end for $1"
  wait_game
}

# 1. No picture folder anywhere: one box, exact text, exit code 1 after it closes.
bare=$(make_game_folder bare)
(cd "$bare/bin" && exec wine Meteorni.exe) &
game_pid=$!
probe wait Errore 30 || fail "no error box captioned Errore"
sleep 0.5 # the time a second box would have to show up
[ "$(probe count Errore)" = 1 ] || fail "expected exactly one Errore box"
[ "$(probe count 'Meteorni *')" = 0 ] || fail "a game window was created despite the missing pictures"
texts=$(probe texts Errore)
grep -qxF "Immagini non trovate." <<<"$texts" || fail "box text is: $texts"
case "$texts" in
  *"$expected_text"*) ;;
  *) fail "box text differs: $texts" ;;
esac
kill -0 "$game_pid" 2>/dev/null || fail "the program ended before the box was closed"
probe close Errore
wait_game
[ "$game_code" = 1 ] || fail "exit code $game_code after the box, expected 1"

# 2. The picture folder one level above bin/.
up=$(make_game_folder up)
cp -r "$build_root/images_games" "$up/"
run_expecting_no_error "$up"
[ "$game_code" = 0 ] || fail "exit code $game_code with the pictures one level up"

# 3. Only images_games\logo.bmp inside the working folder.
inside=$(make_game_folder inside)
mkdir -p "$inside/bin/images_games"
cp "$build_root/images_games/logo.bmp" "$inside/bin/images_games/"
run_expecting_no_error "$inside"
[ "$game_code" = 0 ] || fail "exit code $game_code with the pictures inside the working folder"

echo "start-up check: all cases pass"
