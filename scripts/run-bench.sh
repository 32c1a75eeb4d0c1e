#!/usr/bin/env bash
# Runs every benchmark of a built bench preset and prints the figures: the Google Benchmark
# programs (among them bench_verify, the cost of verify after write per block of a whole-card
# restore), then listing 1,000 card images against cat, then start-up time against a minimal
# Qt program. Working files go to BUILD_DIR/bench-work and are removed at the end.
set -euo pipefail
build_dir=$(cd "${1:-build/bench}" && pwd)
work="$build_dir/bench-work"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

now_ns() { echo $(( ${EPOCHREALTIME/./} * 1000 )); }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for program in "$build_dir"/bench/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_counters_tabular=true
done

echo "== listing 1,000 card images: quorvel-cli list --json against cat"
cli="$build_dir/src/cli/quorvel-cli"
"$build_dir/data/make-demo-cards" "$work/demo" >/dev/null
mkdir -p "$work/images"
for i in $(seq -w 1 1000); do
  if (( 10#$i % 2 )); then cp "$work/demo/slot1.dcm" "$work/images/card$i.dcm"
  else cp "$work/demo/slot2.dcm" "$work/images/card$i.dcm"; fi
done
images=("$work"/images/*.dcm)
cd "$work"  # quorvel-cli finds its data files beside itself or in the working folder
cat "${images[@]}" >/dev/null  # both runs start from a warm page cache
start=$(now_ns)
for image in "${images[@]}"; do "$cli" list --json "$image" >/dev/null; done
cli_ms=$(( ($(now_ns) - start) / 1000000 ))
start=$(now_ns)
for image in "${images[@]}"; do cat "$image" >/dev/null; done
cat_ms=$(( ($(now_ns) - start) / 1000000 ))
start=$(now_ns)
cat "${images[@]}" >/dev/null
one_cat_ms=$(( ($(now_ns) - start) / 1000000 ))
echo "quorvel-cli list --json, one process per image: ${cli_ms} ms"
echo "cat, one process per image:                     ${cat_ms} ms"
echo "cat of all images in one process:               ${one_cat_ms} ms"
awk -v a="$cli_ms" -v b="$cat_ms" 'BEGIN {printf "ratio list/cat (per image): %.2f\n", a / b}'

echo "== start-up to the first window shown (offscreen, median of 31 runs, ms)"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work/startup"
cp "$build_dir/data/NA.bmp" "$build_dir/data/dpnw.dc" "$work/startup/"
printf '888\r\n1\r\n1\r\n1\r\n9216\r\n0\r\n1\r\n' >"$work/startup/DID2.cfg"
cd "$work/startup"
# One run of NAME: the probe prints the milliseconds to its first window shown; the processor
# time of the run (user + system, to the end of the process) goes beside it. Unlike the time to
# the window, the processor time hardly depends on what else the machine is doing.
startup_run() {
  local name=$1 TIMEFORMAT='%3U %3S'
  shift
  { time QUORVEL_START_NS=$(now_ns) "$@" >>"$name.shown" 2>/dev/null; } 2>&1 |
    awk '{printf "%.1f\n", ($1 + $2) * 1000}' >>"$name.cpu"
}
quorvel=("$build_dir/bench/startup/startup_quorvel" --virtual-unit "$work/demo")
minimal=("$build_dir/bench/startup/startup_minimal_widget")
# The three programs take turns, so that a change in the machine's load falls on all of them.
for _ in $(seq 31); do
  startup_run english "${quorvel[@]}" --lang en
  startup_run chinese "${quorvel[@]}" --lang zh_TW
  startup_run minimal "${minimal[@]}"
done
for name in english chinese minimal; do
  declare "${name}_ms=$(median <"$name.shown")" "${name}_cpu=$(median <"$name.cpu")"
done
echo "quorvel main window, English (virtual unit, two demo cards): ${english_ms} ms (processor ${english_cpu} ms)"
echo "quorvel main window, Chinese (virtual unit, two demo cards): ${chinese_ms} ms (processor ${chinese_cpu} ms)"
echo "minimal Qt widget program:                                   ${minimal_ms} ms (processor ${minimal_cpu} ms)"
awk -v e="$english_ms" -v c="$chinese_ms" -v m="$minimal_ms" \
  -v ec="$english_cpu" -v cc="$chinese_cpu" -v mc="$minimal_cpu" \
  'BEGIN {printf "ratio quorvel/minimal to the window shown: English %.2f, Chinese %.2f " \
                 "(processor time %.2f, %.2f)\n", e / m, c / m, ec / mc, cc / mc}'
echo "== machine: load average $(cut -d' ' -f1-3 /proc/loadavg) after the start-up runs"

echo "== the window thread while the link worker runs a backup and a restore (default delays) =="
QT_QPA_PLATFORM=offscreen "$build_dir/bench/window/window_latency" 2>/dev/null
