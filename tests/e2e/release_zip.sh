#!/usr/bin/env bash
# The release zip as scripts/release packs it and a player gets it: the same
# bytes from any build folder (commit-dated entries in a fixed order, an exe
# without link time or build paths), the manifest in the exe, and the game
# unpacked into a folder of its own and started from bin/.
source "$(dirname "$0")/lib.sh"
source_root=$(cd "$(dirname "$0")/../.." && pwd)

"$source_root/scripts/release" --build-dir "$build_root" --output "$work/dist" >"$work/release.log" ||
  fail "scripts/release failed: $(cat "$work/release.log")"
zips=("$work"/dist/Meteorni-*-win64.zip)
zip=${zips[0]}
[ -f "$zip" ] || fail "no Meteorni-<version>-win64.zip"
sha=$(sha256sum "$zip" | cut -d' ' -f1)
[ "$(cat "$zip.sha256")" = "$sha  $(basename "$zip")" ] || fail "the .sha256 beside the zip is wrong: $(cat "$zip.sha256")"
grep -qx "SHA-256: $sha" "$work/release.log" || fail "scripts/release does not print the SHA-256"

# Every entry dated at the commit's time (to the zip's 2-second step), the
# files in sorted order, fixed permissions, no owner or extra time fields.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source_root" log -1 --format=%ct)}
commit_time=$(date -u -d "@$((epoch - epoch % 2))" +%Y%m%d.%H%M%S)
listing=$(zipinfo -T "$zip" | grep ' Meteorni/')
names=$(awk '{print $8}' <<<"$listing")
[ "$names" = "$(LC_ALL=C sort <<<"$names")" ] || fail "the entries are not in sorted order: $names"
dated=$(awk -v t="$commit_time" '$7 != t' <<<"$listing")
[ -z "$dated" ] || fail "entries not dated $commit_time: $dated"
modes=$(awk '{print $1, $8}' <<<"$listing" | grep -v -x -E -- '-rw-r--r-- .*|-rwxr-xr-x Meteorni/bin/Meteorni\.exe' || true)
[ -z "$modes" ] || fail "unexpected permissions: $modes"
extras=$(zipinfo -v "$zip" | grep 'length of extra field' | grep -v ' 0 bytes' || true)
[ -z "$extras" ] || fail "entries carry extra fields"

unzip -q "$zip" -d "$work/player"
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

# Nothing but DLLs that every Windows from 7 on has. No api-ms-win-* set:
# the exe needs none, and those sets are how the import libraries of Windows 8
# and later (and the Universal CRT, which Windows 7 has only as an update)
# name their DLLs, so one here means the build switched to one of them.
dlls=$(x86_64-w64-mingw32-objdump -p "$root/bin/Meteorni.exe" | sed -n 's/.*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
for dll in $dlls; do
  case "$dll" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|SHELL32.DLL|WINMM.DLL|MSVCRT.DLL|ADVAPI32.DLL|OLE32.DLL|SHLWAPI.DLL) ;;
    *) fail "Meteorni.exe needs $dll" ;;
  esac
done

# No function that Windows 7 lacks: there the exe would not start at all
# ("entry point not found"), which nothing run under Wine notices. The
# version macros stop most at compile time, but the MinGW headers declare
# some newer functions whatever they say, and the static C++ runtime
# (libstdc++, winpthread) brings imports of its own that a newer toolchain
# may change. These are the newer functions likely to slip in, each with the
# Windows that brought it:
newer_than_windows7=(
  # kernel32, Windows 8: the precise clock that newer winpthread and
  # libstdc++ read for std::chrono and timed waits; declared unguarded.
  GetSystemTimePreciseAsFileTime
  # kernel32, Windows 8: the file-open call of newer runtimes and samples.
  CreateFile2
  # Windows 8 (api-ms-win-core-synch-l1-2-0): what newer runtimes build
  # std::atomic waits and mutexes on; declared unguarded.
  WaitOnAddress WakeByAddressSingle WakeByAddressAll
  # kernel32, Windows 8: stack bounds, read by runtimes' stack checks.
  GetCurrentThreadStackLimits
  # kernel32, Windows 10 1607: naming threads for a debugger.
  SetThreadDescription GetThreadDescription
  # user32, Windows 8: the coalescing timer a 20 ms game tick could be moved
  # to; the MinGW headers declare it for Windows 7 by mistake.
  SetCoalescableTimer
  # user32, Windows 10: DPI-aware sizing, the way to keep the client area
  # 800 x 600 on a scaled desktop.
  GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext AdjustWindowRectExForDpi GetSystemMetricsForDpi
  # shcore, Windows 8.1: the same, one version earlier.
  SetProcessDpiAwareness GetDpiForMonitor
)
imports=$(x86_64-w64-mingw32-objdump -p "$root/bin/Meteorni.exe" |
  awk '/^\tDLL Name:/ { dll = $3; next } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ && dll { print $3 }')
# The list read must be the real one, or the check below passes on nothing.
grep -q -x GetModuleHandleW <<<"$imports" || fail "the import list was misread: no GetModuleHandleW in it"
for function in "${newer_than_windows7[@]}"; do
  ! grep -q -x -F "$function" <<<"$imports" || fail "Meteorni.exe imports $function, which Windows 7 lacks"
done

# The exe holds no path of this machine's folders and no link time.
exe="$root/bin/Meteorni.exe"
! grep -q -a -F "$source_root" "$exe" || fail "the exe holds the path $source_root"
! grep -q -a -F "$build_root" "$exe" || fail "the exe holds the path $build_root"
pe_header=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
[ "$(od -An -c -j "$pe_header" -N 2 "$exe" | tr -d ' ')" = PE ] || fail "no PE header"
stamp=$(od -An -tu4 -j $((pe_header + 8)) -N 4 "$exe" | tr -d ' ')
[ "$stamp" = 0 ] || fail "the exe's header carries the time stamp $stamp"

# The manifest Windows reads (resource 1 of type 24) and accepts.
manifest=$(probe manifest "$(winepath -w "$exe" 2>/dev/null)") || fail "no application manifest that Windows accepts"
manifest=$(tr -s ' \r\n' ' ' <<<"$manifest")
for expected in '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
                '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>' \
                '<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>' \
                '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>' \
                '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
                '<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>'; do
  grep -q -F -- "$expected" <<<"$manifest" || fail "the manifest lacks $expected"
done
! grep -q -i dpiaware <<<"$manifest" || fail "the manifest declares DPI awareness"

start_game_from "$root/bin"
see "the unpacked game does not show the title" 0 40 800 100 '<400' logo.bmp
close_game
echo "release zip: all checks pass"
