#!/usr/bin/env bash
# Runs a Windows test exe under Wine, headless.
# wineserver and friends inherit stdout; if they kept CTest's pipe open, CTest would wait
# for them. So Wine's output goes to a temp file that is printed once the exe has ended.
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${KITWRIGHT_WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-run: no Wine prefix at $WINEPREFIX (run 'make wineprefix' first)" >&2
  exit 2
fi
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
