#!/usr/bin/env bash
# What one whole talvik run costs: 1000 settlements (the session
# exactly_1000_sizes), seed 1234567, then Y, a plotting file and level 90.
# Builds the release preset's talvik, talvik_bench and echo_input (a trivial
# C++ program that echoes its input) and prints
#   - the instructions of the whole run and of echo_input (callgrind; the
#     same count on every run, however busy the machine);
#   - the median wall time of each, both started through sh, alternately,
#     and their ratio;
#   - talvik_bench's fast bootstrap of 1000 settlements.
#
#   tools/measure_run.sh [RUNS]   (default 41 timed runs of each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-41}
build=$root/build/release
for tool in valgrind cmake; do
  command -v "$tool" >/dev/null || { echo "$tool not found" >&2; exit 2; }
done
[ -f "$build/CMakeCache.txt" ] || cmake --preset release -S "$root" >/dev/null
cmake --build "$build" --target talvik talvik_bench echo_input >/dev/null
talvik=$build/session/talvik
echo_input=$build/tools/echo_input

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$root/tests/sessions/exactly_1000_sizes/files/k.txt" .
printf 'k.txt\nk.out\n1234567\nY\nk.csv\n90\n\n' >answers

# instructions PROGRAM: the instructions callgrind counts in one run.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" <answers \
    2>&1 >/dev/null | sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}

# wall PROGRAM: microseconds of one run started through sh.
wall() {
  local start=$EPOCHREALTIME
  sh -c '"$1" <answers >/dev/null' sh "$1"
  local end=$EPOCHREALTIME
  echo $(((${end/./} - ${start/./})))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_count=$(instructions "$talvik")
echo_count=$(instructions "$echo_input")
printf 'instructions  talvik %11d   echo_input %9d\n' "$run_count" "$echo_count"

# A warm-up each, then the timed runs in turn, the order swapped every round.
wall "$talvik" >/dev/null
wall "$echo_input" >/dev/null
: >talvik.times
: >echo.times
for ((i = 0; i < runs; i++)); do
  if ((i % 2 == 0)); then
    wall "$talvik" >>talvik.times
    wall "$echo_input" >>echo.times
  else
    wall "$echo_input" >>echo.times
    wall "$talvik" >>talvik.times
  fi
done
talvik_us=$(median <talvik.times)
echo_us=$(median <echo.times)
printf 'wall (median of %d)  talvik %d us   echo_input %d us   ratio %s\n' \
  "$runs" "$talvik_us" "$echo_us" "$(awk -v a="$talvik_us" -v b="$echo_us" 'BEGIN { printf "%.2f", a / b }')"

"$build/analysis/talvik_bench" --benchmark_filter='^fastBootstrap/1000$' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
  awk '/_median/ { print "talvik_bench  fastBootstrap/1000 median " $2 " " $3 }'
