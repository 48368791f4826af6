#include "analysis/resample_rank_size_a.h"

#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "analysis/counted_resample.h"
#include "analysis/literal_bootstrap.h"
#include "analysis/random_sizes_testutil.h"
#include "analysis/rank_size_a.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

// Draws `resamples` resamples both ways from the same states and compares
// each A with rankSizeA of the resample ordered by repeated selection.
void expectSameAsRankSizeA(const ObservedSizes& sizes, double seed,
                           int resamples) {
  const int n = static_cast<int>(sizes.size());
  ResampleRankSizeA resampleA(sizes);
  CountedResample counted(n);
  ResampleGenerator fast(seed);
  ResampleGenerator literal(seed);
  for (int k = 0; k < resamples; ++k) {
    counted.draw(fast);
    std::vector<float> working = drawOrderedResample(literal, sizes);
    ASSERT_EQ(bits(resampleA.of(counted.positionByRank())),
              bits(rankSizeA(working)))
        << "n " << n << " seed " << seed << " resample " << k + 1;
  }
}

// The same for the counted resamples themselves, whose sizes are laid out by
// rank from the counts, taken a batch at a time.
void expectBatchesSameAsRankSizeA(const ObservedSizes& sizes, double seed,
                                  int batches) {
  const int n = static_cast<int>(sizes.size());
  ResampleRankSizeA resampleA(sizes);
  CountedResample counted(n);
  ResampleGenerator fast(seed);
  ResampleGenerator literal(seed);
  for (int k = 0; k < batches; ++k) {
    std::vector<float> expected;
    for (int slot = 0; slot < ResampleRankSizeA::kBatch; ++slot) {
      counted.draw(fast);
      resampleA.take(counted, slot);
      std::vector<float> working = drawOrderedResample(literal, sizes);
      expected.push_back(rankSizeA(working));
    }
    const std::array<float, ResampleRankSizeA::kBatch> as = resampleA.batchAs();
    for (int slot = 0; slot < ResampleRankSizeA::kBatch; ++slot) {
      ASSERT_EQ(bits(as[slot]), bits(expected[slot]))
          << "n " << n << " seed " << seed << " batch " << k + 1 << " slot "
          << slot;
    }
  }
}

TEST(ResampleRankSizeA, WholeListGivesItsOwnA) {
  const std::vector<ObservedSizes> lists = {{120, 60, 40, 30, 24},
                                            {100, 90, 80, 70, 60},
                                            {1000, 400, 300, 200, 100},
                                            {1000, 20, 15, 10, 5},
                                            {100, 10},
                                            {100, 50},
                                            {10, 5, 0},
                                            {7},
                                            {0, 0, 0},
                                            {kInfinity, 3, 2},
                                            {5, 5, 5, 5}};
  for (const ObservedSizes& sizes : lists) {
    std::vector<int> identity(sizes.size());
    for (std::size_t i = 0; i < identity.size(); ++i) {
      identity[i] = static_cast<int>(i);
    }
    std::vector<float> working = sizes;
    EXPECT_EQ(bits(ResampleRankSizeA(sizes).of(identity)),
              bits(rankSizeA(working)))
        << sizes.size() << " sizes from " << sizes[0];
  }
}

TEST(ResampleRankSizeA, RandomResamplesMatchRankSizeA) {
  RandomSizes random(31337);
  for (int i = 0; i < 300; ++i) {
    const ObservedSizes sizes = random.next(random.count(i < 280 ? 40 : 400));
    expectSameAsRankSizeA(sizes, random.seed(), 6);
  }
}

TEST(ResampleRankSizeA, ThousandSizesMatchRankSizeA) {
  RandomSizes random(4);
  for (int i = 0; i < 3; ++i) {
    expectSameAsRankSizeA(random.next(1000), random.seed(), 4);
  }
}

TEST(ResampleRankSizeA, CountedResampleBatchesMatchRankSizeA) {
  RandomSizes random(27182);
  for (int i = 0; i < 100; ++i) {
    const ObservedSizes sizes = random.next(random.count(i < 90 ? 40 : 400));
    expectBatchesSameAsRankSizeA(sizes, random.seed(), 2);
  }
  for (int i = 0; i < 3; ++i) {
    expectBatchesSameAsRankSizeA(random.next(1000), random.seed(), 1);
  }
}

// Seeds whose first resample draws one position 9 or 10 times, from lists
// of distinct positive sizes, so that every rank's size tells.
TEST(ResampleRankSizeA, CountedResampleWithPositionDrawnOftenMatches) {
  for (const auto& [n, seed] : {std::pair{40, 68764.0}, {1000, 435.0}}) {
    ObservedSizes sizes(n);
    for (int i = 0; i < n; ++i) sizes[i] = static_cast<float>(n - i);
    expectBatchesSameAsRankSizeA(sizes, seed, 1);
  }
}

}  // namespace
}  // namespace talvik
