#include "analysis/resample_generator.h"

#include <cassert>
#include <cmath>

namespace talvik {
namespace {

constexpr double kMultiplier = 4101.0;
constexpr double kIncrement = 853.0;
constexpr double kModulus = 16777216.0;  // 2^24
constexpr double kIndexRange = 1000.0;
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
  assert(n >= 1 && n <= 1000);
  // A state with a fraction may never end in 000, so a list of one takes its
  // only position without stepping.
  if (n == 1) return 1;
  for (;;) {
    const int index = nextIndex();
    if (index <= n) return index;
  }
}

}  // namespace talvik
