#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, address and undefined behaviour
# sanitizers) and runs every fuzz target for SECONDS, JOBS targets at a time
# (default 1), each on a scratch copy of its seed corpus under fuzz/corpus/:
# the committed corpus never grows. Prints each target's executions, speed,
# coverage and any crash, timeout or leak file, which is kept under
# build/fuzz/findings/<target>/. Exits non-zero on any finding.
#
#   fuzz/run_fuzzers.sh 600 2
set -euo pipefail
usage="usage: fuzz/run_fuzzers.sh SECONDS [JOBS]"
seconds=${1:?$usage}
at_once=${2:-1}
[[ $seconds =~ ^[1-9][0-9]*$ && $at_once =~ ^[1-9][0-9]*$ ]] || {
  echo "$usage" >&2
  exit 2
}
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

# Target and the longest input it is given: size files of 1001 values need
# room, and so does a session with such a file.
targets=(
  "analysis/size_file_fuzz 8192"
  "session/console/console_reader_fuzz 4096"
  "session/console/record_writer_fuzz 1024"
  "session/run_session_fuzz 8192"
  "batch/csv_sizes_fuzz 4096"
  "batch/input_sizes_fuzz 8192"
  "batch/option_values_fuzz 64"
  "web/page_request_fuzz 8192"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
findings=$root/build/fuzz/findings

run_target() {
  local target=$1 max_len=$2
  local name
  name=$(basename "$target")
  local dir=$work/$name
  mkdir -p "$dir/corpus" "$dir/tmp" "$findings/$name"
  cp "$root/fuzz/corpus/$name/." "$dir/corpus/" -R
  # The run_session target makes its scratch folders under TMPDIR.
  local status=0
  (cd "$dir" && TMPDIR=$dir/tmp "$root/build/fuzz/$target" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$findings/$name/" corpus >"$dir/log" 2>&1) || status=$?
  echo "$status" >"$dir/status"
}

report_target() {
  local name=$1
  local log=$work/$name/log
  local status
  status=$(cat "$work/$name/status")
  local runs speed coverage
  runs=$(sed -n 's/^stat::number_of_executed_units: //p' "$log" | tail -1)
  speed=$(sed -n "s/^stat::average_exec_per_sec: *//p" "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  echo "$name: ${runs:-?} executions, ${speed:-?} exec/s, ${coverage:-no coverage line}"
  if [ "$status" -ne 0 ]; then
    echo "$name: FINDING (libFuzzer exit status $status)"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|[a-z_]+_fuzz: |.*runtime error)' "$log" | head -5 || true
    grep -o "Test unit written to .*" "$log" || true
    echo "$name: full log follows"
    tail -60 "$log"
  fi
}

for entry in "${targets[@]}"; do
  read -r target max_len <<<"$entry"
  while [ "$(jobs -rp | wc -l)" -ge "$at_once" ]; do wait -n || true; done
  run_target "$target" "$max_len" &
done
wait

passed=0
failed=0
for entry in "${targets[@]}"; do
  read -r target max_len <<<"$entry"
  name=$(basename "$target")
  report_target "$name"
  if [ "$(cat "$work/$name/status")" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "Fuzzing found problems: reproducers in $findings"
fi
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
