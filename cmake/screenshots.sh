#!/usr/bin/env bash
# make screenshots: the real window with a sample plugin under Xvfb (or on $DISPLAY when
# KW_USE_DISPLAY=1), each page and each dialog, as PNG files in build/screenshots/<set>/:
# themed/, classic/ (no visual theme), 144dpi/ and 192dpi/ (themed).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
source "$here/x-display.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target kw_screenshots
kw_need convert
kw_x_prefix
if [ "${KW_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  kw_start_xvfb
  trap kw_stop_xvfb EXIT
fi
shots="$top/build/screenshots"
exe="$top/build/windows/tests/bench/kw_screenshots.exe"
rc=0
# One set per look: the theme on and off at 96 dpi, then the theme at 144 and 192 dpi. Wine
# reads both settings when its session starts, so each set runs in a session of its own.
shoot() {
  local name=$1 theme=$2 dpi=$3
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d "$theme" /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
  wineserver -w
  mkdir -p "$shots/$name"
  rm -f "$shots/$name"/*.bmp "$shots/$name"/*.png
  echo "$name: theme $theme, $dpi dpi"
  wine "$exe" "Z:$(echo "$shots/$name" | tr / '\\')" </dev/null || rc=1
  wineserver -w
  for bmp in "$shots/$name"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" -strip "${bmp%.bmp}.png" && rm -f "$bmp"
  done
}
rm -f "$shots"/*.png
shoot themed 1 96
shoot classic 0 96
shoot 144dpi 1 144
shoot 192dpi 1 192
# Back to how make run expects the prefix.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 </dev/null
wineserver -w
echo "screenshots in $shots (themed/ is the picture set of the README: docs/main-window.png):"
ls -1 "$shots"/*/*.png 2>/dev/null | sed 's/^/  /'
exit $rc
