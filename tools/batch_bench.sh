#!/usr/bin/env bash
# Times talvik-batch on the two workloads of a large study, with one and two
# threads, and reports the wall time and the peak memory of each run:
#   - 1000 analyses of one file of 1000 settlements (--seed 1..1000);
#   - 1000 files of 37 settlements, one analysis each;
# and, to show that memory stays flat, 10000 analyses of the large file.
#
#   tools/batch_bench.sh [TALVIK_BATCH]   (default build/release/batch/talvik-batch)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
batch=$(realpath "${1:-$root/build/release/batch/talvik-batch}")
[ -x "$batch" ] || { echo "no talvik-batch at $batch: build the release preset first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Sizes falling off roughly as 1/rank, with a spread that is the same on
# every run.
awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "%.1f\n", 1000000 / i + (i * 7919 % 1000) / 10 }' >large.txt
mkdir small
awk 'BEGIN {
  for (k = 1; k <= 1000; k++) {
    file = sprintf("small/region%04d.txt", k)
    for (i = 1; i <= 37; i++) printf "%.1f\n", ((k * 31 + i * 17) % 97 + 1) * 0.5 >file
    close(file)
  }
}'

# run LABEL JOBS ARGS...: one timed run, its table thrown away. The CPU
# time shows how much the threads overlapped, also on a busy machine.
run() {
  local label=$1 jobs=$2
  shift 2
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%e %U %S %M' -o usage "$batch" -q -j "$jobs" "$@" >/dev/null
    read -r wall user system rss <"usage"
    printf '%-40s -j %s  %6.2f s wall  %6.2f s CPU  %6s KB peak\n' "$label" \
      "$jobs" "$wall" "$(echo "$user + $system" | bc)" "$rss"
  else
    local start end
    start=$(date +%s.%N)
    "$batch" -q -j "$jobs" "$@" >/dev/null
    end=$(date +%s.%N)
    printf '%-40s -j %s  %6.2f s wall\n' "$label" "$jobs" "$(echo "$end - $start" | bc)"
  fi
}

echo "talvik-batch on $(nproc) cores"
for jobs in 1 2; do
  run "1000 seeds of one 1000-settlement file" "$jobs" -s 1..1000 large.txt
done
for jobs in 1 2; do
  run "1000 files of 37 settlements" "$jobs" small/region*.txt
done
run "10000 seeds of one 1000-settlement file" 2 -s 1..10000 large.txt
