#include "analysis/largest_sizes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

namespace talvik {
namespace {

std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
  std::vector<std::uint32_t> bits;
  for (const float value : values) {
    bits.push_back(std::bit_cast<std::uint32_t>(value));
  }
  return bits;
}

// Compared with ordering the whole list and cutting it: lists with repeats,
// zeros, negative zeros and negative sizes, shorter and longer than kept.
TEST(LargestSizes, EqualsTheHeadOfTheWholeOrdering) {
  std::mt19937 random(20240611);
  const float choices[] = {0.0f, -0.0f, -3.0f, 1.0f, 2.5f, 2.5f, 7.0f};
  for (int round = 0; round < 200; ++round) {
    const std::size_t kept = 1 + random() % 20;
    const std::size_t count = random() % 90;
    const bool withNaN = round % 10 == 0;
    std::vector<float> list;
    LargestSizes largest(kept);
    for (std::size_t i = 0; i < count; ++i) {
      float size = random() % 3 == 0
                       ? choices[random() % std::size(choices)]
                       : static_cast<float>(random() % 1000) / 8.0f;
      if (withNaN && i == count / 2) {
        size = std::numeric_limits<float>::quiet_NaN();
      }
      list.push_back(size);
      largest.add(size);
    }
    std::vector<float> expected = orderLargestFirst(list);
    if (expected.size() > kept) expected.resize(kept);
    EXPECT_EQ(bitsOf(largest.ordered()), bitsOf(expected)) << round;
    EXPECT_EQ(largest.count(), count);
  }
}

}  // namespace
}  // namespace talvik
