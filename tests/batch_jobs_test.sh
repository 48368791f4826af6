#!/usr/bin/env bash
# talvik-batch writes the same bytes whatever the number of threads, and shows
# its progress line only when standard error is a terminal.
#
#   batch_jobs_test.sh TALVIK_BATCH EXAMPLES_FOLDER
set -u
batch=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
examples=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/sites37.txt" "$examples/valley.txt" "$examples/lognorm.txt" .
printf '5\n0\n7 ha\n' >doubtful.txt

failed=0
fail() { echo "FAIL: $*"; failed=1; }
files=(sites37.txt missing.txt valley.txt doubtful.txt lognorm.txt)

for format in csv json; do
  "$batch" -j 1 -f "$format" -s 1..16 -l 50 "${files[@]}" >one.out 2>one.err
  status=$?
  [ $status = 1 ] || fail "$format: exit status $status, expected 1"
  [ "$(grep -c '^talvik-batch: ' one.err)" = 4 ] || fail "$format: messages: $(cat one.err)"
  for jobs in 2 3 8; do
    "$batch" -j "$jobs" -f "$format" -s 1..16 -l 50 "${files[@]}" >many.out 2>many.err
    cmp -s one.out many.out || fail "$format: -j $jobs gives another table than -j 1"
    cmp -s one.err many.err || fail "$format: -j $jobs gives other messages than -j 1"
  done
done

# Comparisons too: the same rows and messages whatever the threads.
"$batch" --compare -j 1 -s 1..16 "${files[@]}" >one.out 2>one.err
for jobs in 2 8; do
  "$batch" --compare -j "$jobs" -s 1..16 "${files[@]}" >many.out 2>many.err
  cmp -s one.out many.out || fail "--compare: -j $jobs gives another table than -j 1"
  cmp -s one.err many.err || fail "--compare: -j $jobs gives other messages than -j 1"
done
# A pipe or a file never gets the progress line.
"$batch" -s 1..30 sites37.txt >table.csv 2>progress.err
[ -s progress.err ] && fail "progress written to a file: $(cat -A progress.err)"

# On a terminal: the line shows and is erased at the end; the table is the same.
if [ "${TALVIK_SYSTEM:-}" = Windows ]; then
  echo "the Windows build draws on wine's console, not on the terminal: the terminal was not checked"
elif command -v script >/dev/null; then
  # script's own output is what the terminal received.
  script -qec "'$batch' -j 2 -s 1..30 sites37.txt >terminal.csv" /dev/null >terminal.log
  cmp -s table.csv terminal.csv || fail "the table differs when standard error is a terminal"
  grep -q 'analysed [0-9]* of 30' terminal.log || fail "no progress line on the terminal: $(cat -A terminal.log)"
  [ "$(tail -c 4 terminal.log | od -A n -t x1 | tr -d ' \n')" = 0d1b5b4b ] ||
    fail "the progress line is not erased at the end: $(cat -A terminal.log | tail -c 80)"
  script -qec "'$batch' -q -s 1..30 sites37.txt >/dev/null" /dev/null >quiet.log
  [ -s quiet.log ] && fail "-q still shows progress: $(cat -A quiet.log)"
  script -qec "'$batch' sites37.txt >/dev/null" /dev/null >single.log
  [ -s single.log ] && fail "progress for a single analysis: $(cat -A single.log)"
else
  echo "script not found (Debian: bsdutils): the terminal was not checked"
fi

[ $failed = 0 ] && echo "talvik-batch: the same output on 1, 2, 3 and 8 threads"
exit $failed
