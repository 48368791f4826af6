#ifndef TALVIK_ANALYSIS_RANDOM_SIZES_TESTUTIL_H_
#define TALVIK_ANALYSIS_RANDOM_SIZES_TESTUTIL_H_

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "analysis/observed_sizes.h"

namespace talvik {

// Size lists and seeds for tests that compare the fast bootstrap with the
// literal one. Built from the engine's raw output, so every toolchain draws
// the same lists.
class RandomSizes {
 public:
  explicit RandomSizes(std::uint32_t seed) : random_(seed) {}

  // Ordered as the session orders them. Kinds: few distinct whole sizes
  // (ties), any positive floats (subnormal to huge), equal sizes; each may
  // hold zeros and negatives, and rarely an infinity.
  ObservedSizes next(int n) {
    std::vector<float> list(n);
    const std::uint32_t kind = random_() % 3;
    const std::uint32_t distinct = 1 + random_() % 6;
    const std::uint32_t zeroQuarters = random_() % 4;
    const float equal = static_cast<float>(1 + random_() % 1000);
    for (float& size : list) {
      if (random_() % 4 < zeroQuarters) {
        size = random_() % 2 == 0 ? 0.0f : -static_cast<float>(random_() % 9);
      } else if (kind == 0) {
        size = static_cast<float>(1 + random_() % distinct) * 25.0f;
      } else if (kind == 1) {
        size = std::bit_cast<float>(
            static_cast<std::uint32_t>(1 + random_() % 0x7F800000u));
      } else {
        size = equal;
      }
    }
    return orderLargestFirst(list);
  }

  // Whole seeds in and beyond 0..16777215, seeds with fractions, big seeds
  // and both zeros.
  double seed() {
    switch (random_() % 6) {
      case 0:
        return random_() % 16777216u;
      case 1:
        return (random_() % 16777216u) + (1 + random_() % 255) / 256.0;
      case 2:
        return std::ldexp(1.0 + random_() % 1000,
                          24 + static_cast<int>(random_() % 900));
      case 3:
        return (random_() % 100000) * 0.001;
      case 4:
        return random_() % 2 == 0 ? 0.0 : -0.0;
      default:
        return 16777215.0 - random_() % 3;
    }
  }

  // From 1 to `most`.
  int count(int most) { return 1 + static_cast<int>(random_() % most); }

 private:
  std::mt19937 random_;
};

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_RANDOM_SIZES_TESTUTIL_H_
