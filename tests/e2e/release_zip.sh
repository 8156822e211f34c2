#!/usr/bin/env bash
# The release zip as a player gets it: unpacked into a folder of its own, the
# game started from bin/, the title screen on the screen.
source "$(dirname "$0")/lib.sh"

cmake --build "$build_root" --target package >/dev/null || fail "the package could not be made"
zips=("$build_root"/Meteorni-*-win64.zip)
[ -f "${zips[0]}" ] || fail "no Meteorni-<version>-win64.zip in $build_root"
unzip -q "${zips[0]}" -d "$work/player"
root="$work/player/Meteorni"

[ -f "$root/bin/Meteorni.exe" ] || fail "no bin/Meteorni.exe"
[ -f "$root/home.html" ] || fail "no home.html"
[ -f "$root/README.txt" ] || fail "no README.txt"
for picture in logo livello replay gameover player meteorne_notte diamante sanmartino2 cattedrale \
               chiesacerreto palazzogenio santuario blank; do
  [ -f "$root/images_games/$picture.bmp" ] || fail "no images_games/$picture.bmp"
done
extra=$(cd "$work/player" && find . -type f | grep -v -E '^\./Meteorni/(bin/Meteorni\.exe|images_games/[a-z0-9_]+\.bmp|home\.html|README\.txt)$' || true)
[ -z "$extra" ] || fail "unexpected files in the zip: $extra"

# Nothing but Windows' own DLLs.
dlls=$(x86_64-w64-mingw32-objdump -p "$root/bin/Meteorni.exe" | sed -n 's/.*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $dlls; do
  case "$dll" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|SHELL32.DLL|WINMM.DLL|MSVCRT.DLL|ADVAPI32.DLL|OLE32.DLL|SHLWAPI.DLL|API-MS-WIN-*) ;;
    *) fail "Meteorni.exe needs $dll" ;;
  esac
done

start_game_from "$root/bin"
sleep 0.5
shot release
[ "$(area_difference release logo.bmp 0 40 800 100)" -lt 400 ] || fail "the unpacked game does not show the title"
[ "$(count_colour release "#FFFF00" 240 160 300 16)" -gt 20 ] || fail "no copyright line on the title"
probe close 'Meteorni *'
wait_game
[ "$game_code" = 0 ] || fail "exit code $game_code"
echo "release zip: all checks pass"
