#include "analysis/resample_generator.h"

#include <cassert>
#include <cmath>

namespace talvik {
namespace {

constexpr double kMultiplier = kGeneratorMultiplier;
constexpr double kIncrement = kGeneratorIncrement;
constexpr double kModulus = kGeneratorModulus;
constexpr double kIndexRange = kGeneratorIndexRange;
constexpr double kIndexOffset = 1.0;

}  // namespace

bool isUsableSeed(double seed) {
  // -0.0 passes: it compares equal to 0 and steps exactly like it.
  return std::isfinite(seed) && seed >= 0.0 &&
         std::isfinite(kMultiplier * seed + kIncrement);
}

int ResampleGenerator::nextIndex() {
  // Two roundings, product then sum; the remainders are always exact.
  const double product = kMultiplier * state_;
  const double advanced = product + kIncrement;
  state_ = std::fmod(advanced, kModulus);
  return static_cast<int>(std::fmod(state_, kIndexRange) + kIndexOffset);
}

int ResampleGenerator::drawPosition(int n) {
  assert(n >= 1 && n <= static_cast<int>(kGeneratorIndexRange));
  // A state with a fraction may never end in 000, so a list of one takes its
  // only position without stepping.
  if (n == 1) return 1;
  for (;;) {
    const int index = nextIndex();
    if (index <= n) return index;
  }
}

}  // namespace talvik
