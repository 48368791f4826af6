#!/usr/bin/env python3
"""How well the difference ranges of `talvik-batch --compare` do their job.

Pairs of size lists are drawn from lognormal distributions and compared, one
talvik-batch call per pair, each pair with its own seed:

  * both lists from one distribution: the true difference in A is 0, so a
    P % range should hold 0 in about P % of the pairs (its coverage);
  * the second list with another sigma: A differs, and the share of pairs
    whose range leaves out 0 is how often the two are told apart.

  tools/compare_coverage.py BATCH [--pairs K] [--sizes 20,50,...] [--level P]
                            [--sigma S] [--other-sigma S2] [--random-seed R]
                            [--coverage-band LOW,HIGH]

prints a line per n. With --coverage-band it checks the coverage of every n
against the band and exits 1 when any leaves it (the CTest check).
"""

import argparse
import csv
import io
import math
import os
import random
import subprocess
import sys
import tempfile


def write_sizes(path, sizes):
    with open(path, "w") as f:
        for size in sizes:
            f.write("%.3f\n" % size)


def compared(batch, folder, first, second, seed, level):
    """The (lower, upper) range of A(second) - A(first) at `level`."""
    reference = os.path.join(folder, "reference.txt")
    other = os.path.join(folder, "other.txt")
    write_sizes(reference, first)
    write_sizes(other, second)
    run = subprocess.run(
        [batch, "--compare", "-q", "-j", "1", "-l", str(level), "-s", str(seed),
         reference, other],
        capture_output=True, text=True, check=True)
    row = next(csv.DictReader(io.StringIO(run.stdout)))
    return float(row["lower_%d" % level]), float(row["upper_%d" % level])


def share_holding_zero(batch, folder, rng, n, pairs, sigma, other_sigma, level):
    held = 0
    for _ in range(pairs):
        first = [rng.lognormvariate(0.0, sigma) for _ in range(n)]
        second = [rng.lognormvariate(0.0, other_sigma) for _ in range(n)]
        seed = rng.randrange(1000000, 10000000)
        lower, upper = compared(batch, folder, first, second, seed, level)
        if lower <= 0.0 <= upper:
            held += 1
    return held / pairs


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("batch")
    parser.add_argument("--pairs", type=int, default=300)
    parser.add_argument("--sizes", default="20,50,100,200,500")
    parser.add_argument("--level", type=int, default=90)
    parser.add_argument("--sigma", type=float, default=1.0)
    parser.add_argument("--other-sigma", type=float, default=1.5)
    parser.add_argument("--random-seed", type=int, default=20261209)
    parser.add_argument("--coverage-band")
    parser.add_argument("--no-power", action="store_true",
                        help="only the pairs from one distribution")
    args = parser.parse_args()

    rng = random.Random(args.random_seed)
    band = None
    if args.coverage_band:
        band = [float(x) for x in args.coverage_band.split(",")]
    outside = []
    with tempfile.TemporaryDirectory() as folder:
        for n in [int(x) for x in args.sizes.split(",")]:
            coverage = share_holding_zero(args.batch, folder, rng, n, args.pairs,
                                          args.sigma, args.sigma, args.level)
            # The binomial spread of the share measured, for a band.
            spread = math.sqrt(coverage * (1 - coverage) / args.pairs)
            line = ("n = %d: %d %% range holds 0 in %.3f of %d pairs "
                    "(nominal %.2f, binomial sd %.3f)"
                    % (n, args.level, coverage, args.pairs, args.level / 100,
                       spread))
            if not args.no_power:
                apart = 1.0 - share_holding_zero(
                    args.batch, folder, rng, n, args.pairs, args.sigma,
                    args.other_sigma, args.level)
                line += ("; sigma %g against %g told apart in %.3f"
                         % (args.sigma, args.other_sigma, apart))
            print(line, flush=True)
            if band and not band[0] <= coverage <= band[1]:
                outside.append(n)
    if outside:
        print("coverage outside %s for n = %s"
              % (args.coverage_band, ", ".join(map(str, outside))))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
