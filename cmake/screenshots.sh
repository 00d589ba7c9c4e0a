#!/usr/bin/env bash
# make screenshots: the real window with a sample plugin under Xvfb (or on $DISPLAY when
# KW_USE_DISPLAY=1), each page and each dialog, as PNG files in build/screenshots/.
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
mkdir -p "$shots"
rm -f "$shots"/*.bmp
wine "$top/build/windows/tests/bench/kw_screenshots.exe" "Z:$(echo "$shots" | tr / '\\')" </dev/null
rc=$?
wineserver -w
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" -strip "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots in $shots:"
ls -1 "$shots"/*.png 2>/dev/null | sed 's/^/  /'
exit $rc
