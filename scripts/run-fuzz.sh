#!/usr/bin/env bash
# Builds the libFuzzer programs (preset `fuzz`, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every target, or the ones named, for SECONDS each (or
# for RUNS executions each).
#   scripts/run-fuzz.sh [--jobs N] [--runs RUNS] [--no-build] [--summary FILE] [SECONDS] [TARGET...]
#                                                                (make fuzz FUZZ_SECONDS=N)
#   scripts/run-fuzz.sh --reproduce TARGET FILE       runs one saved input again
# --jobs N runs N fuzzing processes per target side by side (libFuzzer's -jobs and -workers),
# sharing its corpus; their logs are build/fuzz/logs/TARGET/fuzz-*.log. --runs RUNS stops each
# target after RUNS executions in all (split between the jobs), or after SECONDS (default 60)
# if that comes first.
# Seeds are written by code (fuzz_replay --write-seeds) into build/fuzz/seeds; what a run
# learns is kept in build/fuzz/corpus/TARGET for the next run, merged after each run into the
# smallest set of inputs that reaches the same coverage (-merge=1); a crash, hang or sanitizer
# report leaves its input in build/fuzz/artifacts and makes the script fail. The figures
# of the run are in build/fuzz/summary.txt (or FILE), with the CPU time each target's fuzzing
# took. --no-build runs the programs already built, so that a long campaign started from a
# finished build is not rebuilt under it while the sources change; two runs side by side
# (other targets, each with its own --summary) share the seeds, which are the same each time.
set -euo pipefail
TIMEFORMAT='%U %S'
cd "$(dirname "$0")/.."
root=$(pwd)

build=1
[ "${1:-}" = "--no-build" ] && build=0
if [ "$build" = 1 ] && [ "${1:-}" != "--reproduce" ]; then
  for arg in "$@"; do [ "$arg" = "--no-build" ] && build=0; done
fi
if [ "$build" = 1 ]; then
  scripts/install-deps.sh --fuzz
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz >/dev/null
fi

out=$root/build/fuzz
bin=$out/fuzz
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

if [ "${1:-}" = "--reproduce" ]; then
  [ $# -eq 3 ] || { echo "usage: $0 --reproduce TARGET FILE" >&2; exit 2; }
  export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
  exec "$bin/$2_fuzzer" "$3"
fi
# While fuzzing, AddressSanitizer records no stack for each allocation and release
# (malloc_context_size=0): the card targets build many short texts per input, and the stack
# walk of each took a sixth of their time. Every fault is still caught; a report then lacks
# only where the memory was allocated and freed, which --reproduce shows.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:malloc_context_size=0}"

jobs=1
runs=
summary="$out/summary.txt"
while [ $# -gt 0 ]; do
  case "$1" in
    --jobs) jobs="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --no-build) shift ;;
    --summary) summary="$2"; shift 2 ;;
    *) break ;;
  esac
done
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "--jobs takes a count of 1 or more" >&2; exit 2; }
[ -z "$runs" ] || [[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "--runs takes a count" >&2; exit 2; }
seconds="${1:-60}"
[ $# -gt 0 ] && shift
wanted=("$@")

# Written beside and moved into place, so that a run side by side never finds them half made.
rm -rf "$out/seeds.$$"
"$bin/fuzz_replay" --write-seeds "$out/seeds.$$" >/dev/null
rm -rf "$out/seeds.old.$$"
[ -d "$out/seeds" ] && mv "$out/seeds" "$out/seeds.old.$$"
mv "$out/seeds.$$" "$out/seeds"
rm -rf "$out/seeds.old.$$"
mkdir -p "$out/corpus" "$out/artifacts" "$out/logs"

# The sum of one final statistic over the logs of a target's run.
stat_sum() {
  local name=$1
  shift
  sed -n "s/^stat::$name: *//p" "$@" | awk '{ total += $1 } END { print total + 0 }'
}

printf '%-12s %8s %12s %10s %8s %10s %6s %7s %8s  %s\n' target seconds executions "exec/s" \
  "cpu s" "exec/cpu s" cov ft corpus result >"$summary"
failed=0
while read -r name max_length; do
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " =~ " $name " ]]; then continue; fi
  corpus="$out/corpus/$name"
  logs="$out/logs/$name"
  rm -rf "$logs"
  mkdir -p "$corpus" "$logs"
  limit=(-max_total_time="$seconds")
  [ -n "$runs" ] && limit+=(-runs=$(((runs + jobs - 1) / jobs)))
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
  echo "fuzzing $name (${runs:-$seconds s}, $jobs job(s)) ..." >&2
  result=clean
  started=$(date +%s)
  # With -jobs, libFuzzer writes each job's log to fuzz-N.log in the working folder. The user
  # and system CPU time of the fuzzing (its jobs included) goes to cpu.txt.
  if ! { time (cd "$logs" && "$bin/${name}_fuzzer" "${limit[@]}" "${parallel[@]}" \
      -max_len="$max_length" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$name-" "$corpus" "$out/seeds/$name" \
      >"$logs/run.log" 2>&1); } 2>"$logs/cpu.txt"; then
    result="FAILED (see $logs)"
    failed=1
  fi
  elapsed=$(($(date +%s) - started))
  cpu=$(awk '{ print $1 + $2 }' "$logs/cpu.txt")
  logfiles=("$logs"/run.log)
  [ "$jobs" -gt 1 ] && logfiles=("$logs"/fuzz-*.log)
  executions=$(stat_sum number_of_executed_units "${logfiles[@]}")
  rate=$((executions / (elapsed > 0 ? elapsed : 1)))
  # Coverage at the end of the run, from the last status line of each job (the highest).
  cov=$(grep -ho 'cov: [0-9]*' "${logfiles[@]}" | awk '$2 > m { m = $2 } END { print m + 0 }')
  ft=$(grep -ho 'ft: [0-9]*' "${logfiles[@]}" | awk '$2 > m { m = $2 } END { print m + 0 }')

  # Keep only the inputs that add coverage: merge the corpus and the seeds into a fresh one.
  merged="$corpus.merging"
  rm -rf "$merged"
  mkdir -p "$merged"
  if "$bin/${name}_fuzzer" -merge=1 -max_len="$max_length" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$out/artifacts/$name-" "$merged" "$corpus" "$out/seeds/$name" \
      >"$logs/merge.log" 2>&1; then
    rm -rf "$corpus"
    mv "$merged" "$corpus"
  else
    rm -rf "$merged"
    result="FAILED (merge, see $logs/merge.log)"
    failed=1
  fi
  files=$(find "$corpus" -type f | wc -l)
  cpu_rate=$(awk -v e="$executions" -v c="$cpu" 'BEGIN { print (c > 0 ? int(e / c) : 0) }')
  printf '%-12s %8s %12s %10s %8s %10s %6s %7s %8s  %s\n' "$name" "$elapsed" "$executions" \
    "$rate" "$cpu" "$cpu_rate" "$cov" "$ft" "$files" "$result" >>"$summary"
done < <("$bin/fuzz_replay" --list)

cat "$summary"
exit $failed
