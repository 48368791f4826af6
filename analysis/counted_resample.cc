#include "analysis/counted_resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>

#include "analysis/instruction_set.h"

namespace talvik {
namespace {

constexpr double kStateCount = kGeneratorModulus;

// -0.0 counts as 0: it steps exactly like 0.
std::optional<std::uint32_t> wholeState(double state) {
  if (!(state >= 0.0 && state < kStateCount) || std::trunc(state) != state) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(state);
}

[[gnu::always_inline]] inline std::uint16_t mostOf(
    std::span<const std::uint16_t> counts) {
  std::uint16_t most = 0;
  for (const std::uint16_t count : counts) most = std::max(most, count);
  return most;
}

}  // namespace

/* Why counting orders a resample exactly as the repeated selection does, for
   sizes without NaN that never increase. Without NaN the selection takes an
   entry only when it is strictly greater than the running best, which starts
   at 0.0: each output position receives the largest remaining positive size
   (the first of equal ones, whose bits are the same: equal positive floats
   are identical) and, once none is left, 0.0 for each of the others. So the
   ordered resample is its positive sizes in non-increasing order followed by
   one 0.0 per size that is zero or negative. Taking the drawn positions in
   rising order, repeats included, visits the drawn sizes in non-increasing
   order, the positive ones first, because the sizes never increase; writing
   0.0 for every size that is not positive gives the same sequence. */
CountedResample::CountedResample(int n)
    : counts_(n + 1), lookAhead_(n), positionByRank_(n + kSpreadSlack) {}

void CountedResample::draw(ResampleGenerator& generator) {
  countDraws(generator);
  const std::span<const std::uint16_t> drawn(counts_.data(), size());
  mostDraws_ = TALVIK_AVX2_OR_BASELINE(avx2Build<mostOf>(drawn), mostOf(drawn));
}

void CountedResample::countDraws(ResampleGenerator& generator) {
  std::fill(counts_.begin(), counts_.end(), 0);
  const int n = size();
  if (n == 1) {
    // drawPosition(1) takes position 1 without stepping.
    counts_[0] = 1;
    return;
  }
  const std::optional<std::uint32_t> start = wholeState(generator.state());
  if (!start) {
    for (int i = 0; i < n; ++i) ++counts_[generator.drawPosition(n) - 1];
    return;
  }
  /* Rounds of steps, each as many as there are draws still missing, so that
     none can take a step past the n-th draw: a round's thrown-away steps,
     counted at index n, are the draws the next round still has to find, and
     a round without one ends on the n-th draw. The steps of a round need no
     test each, but a round costs a few dozen instructions, so the last few
     draws, and all of a short list's, are found step by step. */
  constexpr int kFewestForRound = 64;
  lookAhead_.continueFrom(*start);
  int missing = n;
  while (missing >= kFewestForRound) {
    lookAhead_.countSteps(missing, counts_);
    missing = counts_[n];
    counts_[n] = 0;
  }
  lookAhead_.countDraws(missing, counts_);
  generator.setState(static_cast<double>(lookAhead_.state()));
}

int CountedResample::firstPosition() const {
  int p = 0;
  while (counts_[p] == 0) ++p;
  return p;
}

std::span<const int> CountedResample::positionByRank() const {
  spread([](int p) { return p; }, std::span<int>(positionByRank_));
  return std::span<const int>(positionByRank_).first(size());
}

}  // namespace talvik
