#include "analysis/rank_size_a.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

float aOf(std::vector<float> sizes) { return rankSizeA(sizes); }

struct ThreeDecimalCase {
  std::vector<float> sizes;
  float expected;
  std::uint32_t bits;
};

TEST(RankSizeA, KnownListsGiveTheirValuesToThreeDecimalsAndPinnedBits) {
  const ThreeDecimalCase cases[] = {
      {{100, 90, 80, 70, 60}, 0.781f, 0x3f480070},
      {{1000, 400, 300, 200, 100}, -0.227f, 0xbe67fd76},
      {{1000, 20, 15, 10, 5}, -3.148f, 0xc0497296},
      {{100, 10}, -2.322f, 0xc0149a7b},
  };
  for (const ThreeDecimalCase& c : cases) {
    const float a = aOf(c.sizes);
    EXPECT_LT(std::abs(a - c.expected), 0.0005f) << c.expected;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(a), c.bits) << c.expected;
  }
}

TEST(RankSizeA, ListsOnTheReferenceLineGiveExactlyZero) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(aOf({120, 60, 40, 30, 24})), 0u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(aOf({100, 50})), 0u);
}

TEST(RankSizeA, ZeroSizeGivesMinusInfinity) {
  EXPECT_EQ(aOf({10, 5, 0}), -kInfinity);
}

TEST(RankSizeA, EmptyListGivesZero) { EXPECT_EQ(aOf({}), 0.0f); }

TEST(RankSizeA, SingleSizeOfAnyValueGivesZero) {
  for (const float size : {0.0f, 1.0f, 7.0f, 1e30f, kInfinity, kNaN}) {
    EXPECT_EQ(aOf({size}), 0.0f) << size;
  }
}

TEST(RankSizeA, ListOfZerosGivesZero) {
  EXPECT_EQ(aOf({0, 0}), 0.0f);
  EXPECT_EQ(aOf({0, 0, 0, 0}), 0.0f);
}

TEST(RankSizeA, EqualSizesGiveOneToThreeDecimals) {
  const std::vector<float> lists[] = {
      {3, 3},
      {5, 5, 5, 5},
      std::vector<float>(37, 2.5f),
      std::vector<float>(1000, 12345.0f),
  };
  for (const std::vector<float>& sizes : lists) {
    EXPECT_LT(std::abs(aOf(sizes) - 1.0f), 0.0005f) << sizes.size();
  }
}

TEST(RankSizeA, InfiniteOrNotANumberLargestSizeGivesZero) {
  EXPECT_EQ(aOf({kInfinity, 10, 1}), 0.0f);
  EXPECT_EQ(aOf({kNaN, 10, 1}), 0.0f);
}

// Which sign a NaN gets is the processor's choice unless pinned: a NaN that
// the arithmetic makes has the sign bit, a NaN size keeps its own.
TEST(RankSizeA, NaNSignsArePinned) {
  SignedArea area;
  area.add(kInfinity, 1.0f);
  area.add(-kInfinity, 1.0f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(area.total()), 0xffc00000u);
  for (const float largest : {kNaN, -kNaN}) {
    for (const float size : referenceLine(largest, 3)) {
      EXPECT_EQ(std::bit_cast<std::uint32_t>(size),
                std::bit_cast<std::uint32_t>(largest));
    }
  }
}

TEST(RankSizeA, TwoCallsOnCopiesGiveTheSameBits) {
  const std::vector<float> observed = {931, 512.5f, 300, 299.75f, 40, 3, 0.5f};
  std::vector<float> first = observed;
  std::vector<float> second = observed;
  EXPECT_EQ(std::bit_cast<std::uint32_t>(rankSizeA(first)),
            std::bit_cast<std::uint32_t>(rankSizeA(second)));
}

}  // namespace
}  // namespace talvik
