#!/usr/bin/env bash
# Runs a Windows test exe under Wine, headless.
# wineserver and friends inherit stdout; if they kept CTest's pipe open, CTest would wait
# for them. So the program's output goes to temp files that are printed once it has ended:
# its standard output to ours, its standard error to ours, kept apart (tests of a console
# program tell them apart).
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${KITWRIGHT_WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-run: no Wine prefix at $WINEPREFIX (run 'make wineprefix' first)" >&2
  exit 2
fi
# Every exe run here writes something before it can fail (GoogleTest prints its filter
# first). A failure with no output at all means Wine itself did not start the program,
# which happens now and then on a busy machine; that is retried, a test failure never is.
for try in 1 2 3; do
  out=$(mktemp)
  err=$(mktemp)
  started=$(date +%s%N)
  wine "$@" >"$out" 2>"$err" </dev/null
  rc=$?
  if [ "$rc" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ] && [ "$try" -lt 3 ]; then
    ms=$(( ($(date +%s%N) - started) / 1000000 ))
    echo "wine-run: Wine ended with code $rc after $ms ms without starting $1; trying again" >&2
    rm -f "$out" "$err"
    sleep 1
    continue
  fi
  break
done
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
