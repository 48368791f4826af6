#include "analysis/counted_resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace talvik {
namespace {

constexpr double kStateCount = kGeneratorModulus;
constexpr std::uint32_t kStateMask = kGeneratorModulus - 1;

/* The integer step. For a whole-number state x from 0 to 2^24 - 1 the double
   step of ResampleGenerator is exact: 4101 x + 853 <= 4101 (2^24 - 1) + 853
   < 2^37, so the product and the sum are whole numbers below 2^53 and round
   to themselves; the remainder of a double is always exact, so the new state
   is (4101 x + 853) mod 2^24, again a whole number from 0 to 2^24 - 1, and
   fmod(state, 1000) + 1.0 is (state mod 1000) + 1, which truncation keeps.
   In uint32_t the product and sum wrap modulo 2^32; 2^24 divides 2^32, so
   their low 24 bits are the same remainder. Hence the integer step gives the
   same states and indexes, step for step, for as long as the run lasts.

   Steps are taken kLookAhead at a time, each straight from the state before
   the group: j steps make x -> (m_j x + c_j) mod 2^24 with m_1 = 4101,
   c_1 = 853, m_(j+1) = 4101 m_j and c_(j+1) = 4101 c_j + 853, and only the
   low 24 bits of m_j and c_j matter, so they too may wrap in uint32_t. The
   steps of a group then no longer wait for one another. The draws consume
   them in order and stop at the step of the last draw, so the steps left
   over in the group are never taken. */
constexpr int kLookAhead = 8;

struct Jump {
  std::uint32_t multiplier;
  std::uint32_t increment;
};

constexpr std::array<Jump, kLookAhead> kJumps = [] {
  std::array<Jump, kLookAhead> jumps{};
  Jump jump{kGeneratorMultiplier, kGeneratorIncrement};
  for (Jump& each : jumps) {
    each = jump;
    jump = {kGeneratorMultiplier * jump.multiplier,
            kGeneratorMultiplier * jump.increment + kGeneratorIncrement};
  }
  return jumps;
}();

// -0.0 counts as 0: it steps exactly like 0.
std::optional<std::uint32_t> wholeState(double state) {
  if (!(state >= 0.0 && state < kStateCount) || std::trunc(state) != state) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(state);
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
    : counts_(n), positionByRank_(n + kCopies) {}

void CountedResample::draw(ResampleGenerator& generator) {
  countDraws(generator);
  rankPositions();
}

void CountedResample::countDraws(ResampleGenerator& generator) {
  std::fill(counts_.begin(), counts_.end(), 0);
  const int n = static_cast<int>(counts_.size());
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
  const std::uint32_t limit = static_cast<std::uint32_t>(n);
  std::uint32_t state = *start;
  int drawn = 0;
  for (;;) {
    std::array<std::uint32_t, kLookAhead> ahead;
    for (int j = 0; j < kLookAhead; ++j) {
      ahead[j] =
          (kJumps[j].multiplier * state + kJumps[j].increment) & kStateMask;
    }
    for (const std::uint32_t next : ahead) {
      const std::uint32_t index = next % kGeneratorIndexRange;
      if (index >= limit) continue;
      ++counts_[index];
      if (++drawn == n) {
        generator.setState(static_cast<double>(next));
        return;
      }
    }
    state = ahead[kLookAhead - 1];
  }
}

/* Ranks by counting. Position p's copies take the ranks from start(p), the
   number of draws of positions before p, up to start(p + 1) - 1. Going
   through the positions in rising order, p is written into its ranks and,
   in one go, into a few slots past them, which the positions after it
   overwrite or which lie beyond the last rank: writing kCopies slots without
   looking at the count spares a branch on it for all but the rare counts
   above kCopies. */
void CountedResample::rankPositions() {
  int start = 0;
  for (int p = 0; p < static_cast<int>(counts_.size()); ++p) {
    int* const slots = positionByRank_.data() + start;
    for (int i = 0; i < kCopies; ++i) slots[i] = p;
    for (int i = kCopies; i < counts_[p]; ++i) slots[i] = p;
    start += counts_[p];
  }
}

}  // namespace talvik
