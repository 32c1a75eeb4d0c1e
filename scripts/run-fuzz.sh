#!/usr/bin/env bash
# Builds the libFuzzer programs (preset `fuzz`, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every target, or the ones named, for SECONDS each.
#   scripts/run-fuzz.sh [SECONDS] [TARGET...]        (make fuzz FUZZ_SECONDS=N)
#   scripts/run-fuzz.sh --reproduce TARGET FILE       runs one saved input again
# Seeds are written by code (fuzz_replay --write-seeds) into build/fuzz/seeds; what a run
# learns is kept in build/fuzz/corpus/TARGET for the next run; a crash, hang or sanitizer
# report leaves its input in build/fuzz/artifacts and makes the script fail. The figures
# of the run are in build/fuzz/summary.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

out=build/fuzz
bin=$out/fuzz
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

if [ "${1:-}" = "--reproduce" ]; then
  [ $# -eq 3 ] || { echo "usage: $0 --reproduce TARGET FILE" >&2; exit 2; }
  exec "$bin/$2_fuzzer" "$3"
fi

seconds="${1:-60}"
[ $# -gt 0 ] && shift
wanted=("$@")

rm -rf "$out/seeds"
"$bin/fuzz_replay" --write-seeds "$out/seeds" >/dev/null
mkdir -p "$out/corpus" "$out/artifacts" "$out/logs"

summary="$out/summary.txt"
printf '%-12s %8s %12s %10s %8s  %s\n' target seconds executions "exec/s" corpus result \
  >"$summary"
failed=0
while read -r name max_length; do
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " =~ " $name " ]]; then continue; fi
  corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  log="$out/logs/$name.log"
  echo "fuzzing $name for $seconds s ..." >&2
  result=clean
  if ! "$bin/${name}_fuzzer" -max_total_time="$seconds" -max_len="$max_length" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" \
      "$corpus" "$out/seeds/$name" >"$log" 2>&1; then
    result="FAILED (see $log)"
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  files=$(find "$corpus" -type f | wc -l)
  printf '%-12s %8s %12s %10s %8s  %s\n' "$name" "$seconds" "${runs:-?}" "${rate:-?}" "$files" \
    "$result" >>"$summary"
done < <("$bin/fuzz_replay" --list)

cat "$summary"
exit $failed
