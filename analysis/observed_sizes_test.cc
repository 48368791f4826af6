#include "analysis/observed_sizes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<std::uint32_t> bitsOf(const std::vector<float>& list) {
  std::vector<std::uint32_t> bits;
  for (const float size : list)
    bits.push_back(std::bit_cast<std::uint32_t>(size));
  return bits;
}

struct OrderCase {
  std::vector<float> list;
  std::vector<float> ordered;
};

void expectOrder(const OrderCase& c) {
  EXPECT_EQ(bitsOf(orderLargestFirst(c.list)), bitsOf(c.ordered));
  EXPECT_EQ(bitsOf(orderLargestFirstBySelection(c.list)), bitsOf(c.ordered));
}

TEST(OrderLargestFirst, PositiveSizesLargestFirstThenZeroForTheOthers) {
  const OrderCase cases[] = {
      {{5, -3, 0, 7}, {7, 5, 0, 0}},
      {{10, 4, 10}, {10, 10, 4}},
      {{}, {}},
      {{3}, {3}},
      {{-2}, {0}},
      {{-0.0f, -kInfinity, kInfinity, 2, -0.0f}, {kInfinity, 2, 0, 0, 0}},
      {{1e-45f, 0, 3.4e38f}, {3.4e38f, 1e-45f, 0}},
  };
  for (const OrderCase& c : cases) expectOrder(c);
}

// A not-a-number entry and the entry after it are taken whatever they are.
TEST(OrderLargestFirst, NaNEntriesFollowTheRepeatedSelection) {
  const OrderCase cases[] = {
      {{kNaN}, {kNaN}},
      {{2, kNaN}, {kNaN, 2}},
      {{kNaN, -4}, {-4, 0}},
      {{3, kNaN, 1, 5}, {5, 1, 0, 0}},
      {{kNaN, kNaN, 6}, {6, 0, 0}},
  };
  for (const OrderCase& c : cases) expectOrder(c);
}

float randomSize(std::mt19937& random) {
  constexpr float kPool[] = {0.0f,  -0.0f, kInfinity, -kInfinity, 1e-45f,
                             3e38f, 150,   2.5f,      1e-7f};
  switch (std::uniform_int_distribution<int>(0, 2)(random)) {
    case 0:
      return static_cast<float>(
          std::uniform_int_distribution<int>(-3, 12)(random));
    case 1:
      return kPool[std::uniform_int_distribution<std::size_t>(
          0, std::size(kPool) - 1)(random)];
    default:
      return std::uniform_real_distribution<float>(-1e6f, 1e6f)(random);
  }
}

TEST(OrderLargestFirst, EqualsTheRepeatedSelectionOnListsWithoutNaN) {
  std::mt19937 random(20261208);
  for (int trial = 0; trial < 200; ++trial) {
    const int n = trial < 3
                      ? trial * 500
                      : std::uniform_int_distribution<int>(0, 1000)(random);
    std::vector<float> list(n);
    for (float& size : list) size = randomSize(random);
    EXPECT_EQ(bitsOf(orderLargestFirst(list)),
              bitsOf(orderLargestFirstBySelection(list)))
        << "trial " << trial;
  }
}

}  // namespace
}  // namespace talvik
