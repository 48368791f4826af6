#!/usr/bin/env bash
# talvik-batch's pictures: with --plot, each analysis's graph is the one
# talvik-plot draws from the same plotting file with the same level and
# title, plus A in its legend; with --chart, one well-formed chart holds one
# row per analysis that succeeded, with --label's labels, the counts of
# places and a note naming the files that failed; --unit names the unit on
# the pictures' size axis, as talvik-plot's --unit does; with --compare, the
# chart holds one row per comparison, its point at the difference in A and a
# guide line at 0. Needs xmllint; the pictures are also
# rendered in headless Chromium when it is installed.
#
#   batch_pictures_test.sh TALVIK_BATCH TALVIK_PLOT EXAMPLES_FOLDER
set -u
batch=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
plot=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
examples=$(cd "$3" && pwd)
command -v xmllint >/dev/null || { echo "SKIP: xmllint not found (Debian: libxml2-utils)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/sites37.txt" "$examples/valley.txt" "$examples/lognorm.txt" .

failed=0
fail() { echo "FAIL: $*"; failed=1; }
xpath() { xmllint --xpath "$1" "$2" 2>/dev/null; }
# A picture without the legend's A and its caption.
without_a() { grep -v -e 'A = ' -e 'of the observed sizes' "$1"; }

"$batch" -q -s 7..8 -l 80 -p plots --chart chart.svg \
  sites37.txt missing.txt valley.txt lognorm.txt >table.csv 2>/dev/null
[ $? = 1 ] || fail "a missing file did not give exit status 1"
for stem in sites37 valley lognorm; do
  for seed in 7 8; do
    picture=plots/${stem}_seed$seed.svg
    xmllint --noout "$picture" || { fail "$picture is not well-formed XML"; continue; }
    # talvik-plot on the same plotting file draws the same picture, but for
    # A and its caption, which the plotting file does not hold.
    "$plot" --level 80 --title "Rank-size graph of $stem.txt, seed $seed" \
      "plots/${stem}_seed$seed.csv" again.svg >/dev/null ||
      { fail "talvik-plot refused plots/${stem}_seed$seed.csv"; continue; }
    diff <(without_a "$picture") <(without_a again.svg) >/dev/null ||
      fail "$picture differs from talvik-plot's picture beyond the A line"
    a=$(awk -F, -v seed=$seed -v file=$stem.txt '$1 == file && $2 == seed { print $7 }' table.csv)
    grep -q "A = $(printf '%.3f' "$a")" "$picture" ||
      fail "$picture does not show A = $a in its legend"
  done
done
[ ! -e plots/missing_seed7.csv ] || fail "a plotting file for the missing file"

xmllint --noout chart.svg || fail "chart.svg is not well-formed XML"
labels=$(xpath '//*[@id="row-labels"]/*' chart.svg | sed 's/<[^>]*>/\n/g' | grep -v '^$')
expected=$(printf '%s\n' "sites37.txt, seed 7" "sites37.txt, seed 8" "valley.txt, seed 7" \
  "valley.txt, seed 8" "lognorm.txt, seed 7" "lognorm.txt, seed 8")
[ "$labels" = "$expected" ] || fail "chart rows [$labels], expected [$expected]"

# A labelled chart with a failed file, and a picture with a unit.
"$batch" -q --chart labelled.svg --label "sites37.txt=Survey sites" -p unit \
  --unit ha sites37.txt missing.txt valley.txt >/dev/null 2>&1
[ $? = 1 ] || fail "a missing file did not give exit status 1 with --label"
xmllint --noout labelled.svg || fail "labelled.svg is not well-formed XML"
labels=$(xpath '//*[@id="row-labels"]/*' labelled.svg | sed 's/<[^>]*>/\n/g' | grep -v '^$')
[ "$labels" = "$(printf '%s\n' "Survey sites" valley.txt)" ] ||
  fail "labelled chart rows [$labels]"
places=$(xpath '//*[@id="places"]/*' labelled.svg | sed 's/<[^>]*>/\n/g' | grep -v '^$')
[ "$places" = "$(printf '%s\n' "n = 37" "n = 12")" ] || fail "places [$places]"
[ "$(xpath 'string(//*[@id="not-analysed"])' labelled.svg)" = "Not analysed: missing.txt" ] ||
  fail "labelled.svg does not name missing.txt as not analysed"
"$plot" --level 90 --unit ha --title "Rank-size graph of valley.txt" unit/valley.csv \
  again.svg >/dev/null || fail "talvik-plot refused --unit"
diff <(without_a unit/valley.svg) <(without_a again.svg) >/dev/null ||
  fail "unit/valley.svg differs from talvik-plot's picture with --unit"
grep -q '>Size (ha)</text>' unit/valley.svg || fail "unit/valley.svg does not name the unit"

# The chart of differences from the reference, its points at the table's
# differences.
"$batch" -q --compare -s 7..8 --chart differences.svg sites37.txt valley.txt \
  missing.txt lognorm.txt >compared.csv 2>/dev/null
[ $? = 1 ] || fail "a missing file did not give exit status 1 with --compare"
xmllint --noout differences.svg || fail "differences.svg is not well-formed XML"
labels=$(xpath '//*[@id="row-labels"]/*' differences.svg | sed 's/<[^>]*>/\n/g' | grep -v '^$')
expected=$(printf '%s\n' "valley.txt, seed 7" "valley.txt, seed 8" "lognorm.txt, seed 7" \
  "lognorm.txt, seed 8")
[ "$labels" = "$expected" ] || fail "difference chart rows [$labels], expected [$expected]"
[ "$(xpath 'count(//*[@id="no-difference"])' differences.svg)" = 1 ] ||
  fail "differences.svg has no line at 0"
[ "$(xpath 'count(//*[@id="all-sizes-equal"])' differences.svg)" = 0 ] ||
  fail "differences.svg has the line of all sizes equal"
[ "$(xpath 'string(//*[@id="not-analysed"])' differences.svg)" = "Not analysed: missing.txt" ] ||
  fail "differences.svg does not name missing.txt"
# Each point lies as far from the line at 0 as its difference says: the x of
# the point minus the x of the line, per unit of difference, is the same for
# every row.
zero=$(xpath 'string(//*[@id="no-difference"]/@x1)' differences.svg)
points=$(xpath '//*[@id="points"]/*' differences.svg | grep -o 'cx="[^"]*"' | tr -dc '0-9.\n-')
differences=$(awk -F, 'NR > 1 && $6 != "" { print $6 }' compared.csv)
# Positions are written with two decimals: the scales agree within 1 pixel
# per unit.
spread=$(paste <(echo "$points") <(echo "$differences") |
  awk -v zero="$zero" '{ s = ($1 - zero) / $2; if (NR == 1 || s < lo) lo = s
    if (NR == 1 || s > hi) hi = s } END { print (NR == 4 && hi - lo < 1) ? "same" : NR " " lo " " hi }')
[ "$spread" = same ] || fail "points not at their differences: $spread"

if browser=$(command -v chromium || command -v chromium-browser); then
  # render NAME WIDTH HEIGHT: NAME.svg to NAME.png, which must hold far more
  # than a blank page of the same size.
  render() {
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars \
      --no-first-run --user-data-dir="$work/profile" --window-size="$2,$3" \
      --screenshot="$work/$1.png" "file://$work/$1.svg" >"$1.log" 2>&1
    [ -s "$1.png" ] || { fail "no screenshot of $1.svg: $(cat "$1.log")"; return; }
    printf '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s"><rect width="%s" height="%s" fill="#ffffff"/></svg>\n' \
      "$2" "$3" "$2" "$3" >"blank_$1.svg"
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars \
      --no-first-run --user-data-dir="$work/profile" --window-size="$2,$3" \
      --screenshot="$work/blank_$1.png" "file://$work/blank_$1.svg" >/dev/null 2>&1
    [ "$(stat -c %s "$1.png")" -gt $((4 * $(stat -c %s "blank_$1.png"))) ] ||
      fail "$1.png looks blank"
  }
  cp plots/sites37_seed7.svg graph.svg
  render graph 860 510
  render chart "$(xpath 'string(/*/@width)' chart.svg)" "$(xpath 'string(/*/@height)' chart.svg)"
  render labelled "$(xpath 'string(/*/@width)' labelled.svg)" "$(xpath 'string(/*/@height)' labelled.svg)"
  cp unit/valley.svg unitgraph.svg
  render unitgraph 860 510
  render differences "$(xpath 'string(/*/@width)' differences.svg)" "$(xpath 'string(/*/@height)' differences.svg)"
else
  echo "chromium not found (Debian: chromium): the pictures were not rendered"
fi

[ $failed = 0 ] && echo "talvik-batch pictures: all checks passed"
exit $failed
