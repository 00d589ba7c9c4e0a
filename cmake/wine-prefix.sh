#!/usr/bin/env bash
# Creates the headless Wine prefix once: null graphics driver, so windows can be created
# without an X display. Never created lazily by parallel tests (they race).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${KITWRIGHT_WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
source "$here/wine-fonts.sh"
if [ -f "$WINEPREFIX/.kitwright-ready" ]; then
  kw_wine_fonts "$WINEPREFIX"
  exit 0
fi
mkdir -p "$WINEPREFIX"
echo "Creating the Wine prefix in $WINEPREFIX ..."
wine wineboot --init >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1 </dev/null
kw_wine_fonts "$WINEPREFIX"
wineserver -w
touch "$WINEPREFIX/.kitwright-ready"
