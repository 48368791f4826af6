#include "analysis/index_look_ahead.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "analysis/instruction_set.h"
#include "analysis/resample_generator.h"

namespace talvik {
namespace {

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

   Every step of a block is taken straight from the state before the block:
   j steps make x -> (m_j x + c_j) mod 2^24 with m_1 = 4101, c_1 = 853,
   m_(j+1) = 4101 m_j and c_(j+1) = 4101 c_j + 853, and only the low 24 bits
   of m_j and c_j matter, so they too may wrap in uint32_t. No step then
   waits for the one before it, and the loop over a block runs on as many
   steps at once as the machine's vectors hold. */
struct Jumps {
  std::array<std::uint32_t, IndexLookAhead::kBlockSteps> multiplier;
  std::array<std::uint32_t, IndexLookAhead::kBlockSteps> increment;
};

constexpr Jumps kJumps = [] {
  Jumps jumps{};
  std::uint32_t multiplier = kGeneratorMultiplier;
  std::uint32_t increment = kGeneratorIncrement;
  for (int j = 0; j < IndexLookAhead::kBlockSteps; ++j) {
    jumps.multiplier[j] = multiplier;
    jumps.increment[j] = increment;
    multiplier = kGeneratorMultiplier * multiplier;
    increment = kGeneratorMultiplier * increment + kGeneratorIncrement;
  }
  return jumps;
}();

std::uint32_t stateAfter(std::uint32_t start, int steps) {
  return (kJumps.multiplier[steps - 1] * start + kJumps.increment[steps - 1]) &
         kStateMask;
}

/* The position a state gives: state mod 1000, or n when that is above
   n - 1, in operations that vectorise where 32-bit integer division does not.
   The state x < 2^24 converts to float exactly. The float just below 1/1000
   is 1/1000 (1 - 6.9e-8); the product's rounding adds at most 2^-24 = 6.0e-8
   of it, so x times it lies below x / 1000 (for x > 0) by less than
   2^24 / 1000 x 1.3e-7 < 0.003. Truncated, it is floor(x / 1000) or one
   less. The remainder x - q x 1000, from 0 to 1999, is taken in integers,
   and adding 1000 to the remainder minus 1000 when that is negative corrects
   it. Its last 16 bits decide it, so from the state on 16 bits suffice, twice
   as many to a vector. The test of the look-ahead checks every state. */
constexpr float kThousandthBelow = 0x1.0624dcp-10f;

[[gnu::always_inline]] inline std::int16_t positionOf(std::uint32_t state,
                                                      std::int16_t n) {
  const auto whole = static_cast<std::int32_t>(state);
  const auto quotient =
      static_cast<std::int32_t>(static_cast<float>(whole) * kThousandthBelow);
  const auto below = static_cast<std::int16_t>(whole - quotient * 1000 - 1000);
  const auto index = static_cast<std::int16_t>(below + ((below >> 15) & 1000));
  return std::min(index, n);
}

[[gnu::always_inline]] inline void blockPositions(
    std::uint32_t start, int n, IndexLookAhead::Block& positions) {
  const auto limit = static_cast<std::int16_t>(n);
  for (int j = 0; j < IndexLookAhead::kBlockSteps; ++j) {
    const std::uint32_t state =
        (kJumps.multiplier[j] * start + kJumps.increment[j]) & kStateMask;
    positions[j] = positionOf(state, limit);
  }
}

}  // namespace

void computeBlockPositions(std::uint32_t start, int n,
                           IndexLookAhead::Block& positions) {
  TALVIK_AVX2_OR_BASELINE(avx2Build<blockPositions>(start, n, positions),
                          blockPositions(start, n, positions));
}

void IndexLookAhead::continueFrom(std::uint32_t state) {
  if (!computed_ || this->state() != state) computeBlock(state);
}

void IndexLookAhead::countSteps(int steps, std::span<std::uint16_t> counts) {
  while (steps > 0) {
    if (taken_ == kBlockSteps) computeBlock(stateAfter(blockStart_, taken_));
    const int take = std::min(steps, kBlockSteps - taken_);
    const std::int16_t* const positions = positions_.data() + taken_;
#pragma GCC unroll 16
    for (int j = 0; j < take; ++j) ++counts[positions[j]];
    taken_ += take;
    steps -= take;
  }
}

void IndexLookAhead::countDraws(int draws, std::span<std::uint16_t> counts) {
  while (draws > 0) {
    if (taken_ == kBlockSteps) computeBlock(stateAfter(blockStart_, taken_));
    while (taken_ < kBlockSteps) {
      const int position = positions_[taken_++];
      if (position == n_) continue;
      ++counts[position];
      if (--draws == 0) return;
    }
  }
}

std::uint32_t IndexLookAhead::state() const {
  return taken_ == 0 ? blockStart_ : stateAfter(blockStart_, taken_);
}

void IndexLookAhead::computeBlock(std::uint32_t start) {
  computed_ = true;
  blockStart_ = start;
  taken_ = 0;
  computeBlockPositions(start, n_, positions_);
}

}  // namespace talvik
