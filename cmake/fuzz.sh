#!/usr/bin/env bash
# Runs each fuzz target in turn, one process with one job, for a fixed time each, starting
# from the committed seeds, and prints the executions per target. A finding stops the run;
# its input is kept in build/fuzz/findings/<target>/.
# KW_FUZZ_SECONDS="text=420 ini=420 model=240 writers=300 roundtrip=600" sets the times. Inputs are kept
# short where length adds nothing: a file name past 300 bytes is as invalid as one of 300.
set -eu
cd "$(dirname "$0")/.."
seconds="${KW_FUZZ_SECONDS:-text=420 ini=420 model=240 writers=300 roundtrip=600}"
build=build/fuzz
# Temporary folders of the targets live in memory when the machine has a tmpfs for it.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
summary=""
total=0
for pair in $seconds; do
  target="${pair%%=*}"
  time="${pair#*=}"
  work="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$work" "$findings"
  log="$build/fuzz_$target.log"
  case "$target" in
    text) maxlen=300 ;;
    ini) maxlen=2048 ;;
    *) maxlen=4096 ;;
  esac
  echo "== fuzz_$target: $time s"
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$time" -max_len="$maxlen" -print_final_stats=1 -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz_$target: FINDING (input kept in $findings/)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  summary="$summary$(printf '%-14s %12s executions in %5s s, no finding' "fuzz_$target" "$runs" "$secs")\n"
  total=$((total + runs))
done
echo
printf "$summary"
printf '%-14s %12s executions\n' "total" "$total"
