#!/usr/bin/env bash
# talvik-plot reads a plotting file as a stream and stops at its first bad
# record, so that a file of any length, even one that never ends, is refused
# at once in a few megabytes: every run here has 100 MB of address space and
# 10 seconds.
set -u
plot=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ "${TALVIK_SYSTEM:-}" = Windows ] && { echo "SKIP: needs /dev/stdin and /dev/zero"; exit 77; }
command -v timeout >/dev/null || { echo "SKIP: timeout not found (Debian: coreutils)"; exit 77; }
limit=100000
# A sanitizer's shadow memory needs far more address space than the program.
(ulimit -v $limit && "$plot" --version) >/dev/null 2>&1 ||
  { echo "SKIP: the program cannot start in $limit KiB of address space"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failed=0
fail() { echo "FAIL: $*"; failed=1; }

header='RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO'
# rows N: the good rows of ranks 1 to N.
rows() {
  local rank
  for ((rank = 1; rank <= $1; rank++)); do
    printf '%4d,         1.0000,         1.0000,         1.0000,         1.0000\n' $rank
  done
}

# refused NAME EXPECTED_REASON: the plotting file on standard input is refused
# with the reason at its line, exit status 1, and no picture.
refused() {
  local name=$1 expected=$2
  (ulimit -v $limit && timeout 10 "$plot" /dev/stdin out.svg) >out.txt 2>err.txt
  local status=$?
  [ $status = 1 ] || fail "$name: exit status $status, expected 1 ($(head -c 300 err.txt))"
  [ "$(cat err.txt)" = "talvik-plot: /dev/stdin:$expected (reading the plotting file)" ] ||
    fail "$name: message [$(head -c 300 err.txt)]"
  [ -e out.svg ] && fail "$name: a picture was written"
  rm -f out.txt err.txt out.svg
}

not_header="1: the header is not \"$header\""
yes '' | refused 'endless empty lines' "$not_header"
refused 'endless zero bytes' "$not_header" </dev/zero
yes "$header" | refused 'endless headers' '2: RANK "RANK" is not a whole number right-aligned in 4 characters'
{ echo "$header"; tr '\0' x </dev/zero; } |
  refused 'an endless line' '2: a line of more than 256 characters where row 1 should be'
{ echo "$header"; rows 1000; yes '   1'; } | refused 'endless rows' '1002: more than 1000 rows'

# A thousand rows are read in the same bounds.
{ echo "$header"; rows 1000; } >thousand.csv
(ulimit -v $limit && timeout 10 "$plot" thousand.csv) >out.txt 2>err.txt ||
  fail "a thousand rows refused: $(cat err.txt)"
[ "$(cat out.txt)" = "Wrote thousand.svg (1000 ranks)" ] || fail "a thousand rows: said $(cat out.txt)"

[ $failed = 0 ] && echo "talvik-plot bounded input: all checks passed"
exit $failed
