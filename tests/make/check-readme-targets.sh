#!/usr/bin/env bash
# Every `make <target>` the README shows must have a rule: a dry run prints the commands it
# would run. Without a rule make stops, or, for a target named like a folder (fuzz/), says
# "Nothing to be done" and succeeds — which is how a merge can drop a rule unseen.
set -u
top="${1:?usage: check-readme-targets.sh <source folder>}"
cd "$top" || exit 1
targets=$(grep -oE '(^|`)make [a-z][a-z0-9_-]*' README.md | sed 's/^`//; s/^make //' | sort -u)
if [ -z "$targets" ]; then
  echo "no make targets found in README.md"
  exit 1
fi
failed=0
for t in $targets; do
  out=$(make -n --no-print-directory "$t" 2>&1)
  rc=$?
  if [ "$rc" -ne 0 ] || [ -z "$out" ] || echo "$out" | grep -q -e "Nothing to be done" -e "is up to date"; then
    echo "make $t: no rule (exit $rc)"
    echo "$out" | sed 's/^/    /' | head -5
    failed=1
  else
    echo "make $t: $(echo "$out" | wc -l) command(s)"
  fi
done
exit "$failed"
