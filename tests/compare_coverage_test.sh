#!/usr/bin/env bash
# The difference ranges of --compare hold the true difference about as often
# as the larger measured run found (docs/method.md): 60 pairs of
# lognormal lists of 50 sizes from one distribution, whose 90 % ranges should
# hold 0 in 0.80 of the pairs (the measured figure, not the nominal 0.90).
# With 60 pairs the binomial spread is 0.052, so the band 0.80 +- 3 spreads,
# 39 to 57 pairs, fails a method that has gone wrong (ranges far too narrow
# or too wide), not chance.
#
#   compare_coverage_test.sh TALVIK_BATCH TOOLS_FOLDER
set -u
command -v python3 >/dev/null || { echo "SKIP: python3 not found (Debian: python3)"; exit 77; }
exec python3 "$2/compare_coverage.py" "$1" --pairs 60 --sizes 50 --no-power \
  --coverage-band 0.645,0.955
