#!/usr/bin/env bash
# Builds Kitwright.exe and starts it under Wine on the current X display. With no display,
# it starts the program under Xvfb, saves a screenshot of the window and ends it again.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top="$here/.."
source "$here/x-display.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Kitwright -j2
exe="$top/build/windows/app/Kitwright.exe"
kw_x_prefix
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi

echo "No X display: starting Kitwright under Xvfb for a screenshot."
kw_start_xvfb
wine "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
stop() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  wineserver -w || true
  kw_stop_xvfb || true
}
trap stop EXIT
if ! win=$(kw_wait_window '^Kitwright v' 60); then
  echo "The main window did not appear within 60 s." >&2
  exit 1
fi
sleep 1  # let it paint
mkdir -p "$top/build/screenshots"
shot="$top/build/screenshots/run.png"
import -window "$win" "$shot"
echo "Kitwright started on $DISPLAY (Xvfb); screenshot of its window: $(realpath "$shot")"
