#include "analysis/counted_resample.h"

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "gtest/gtest.h"

namespace talvik {
namespace {

std::vector<int> ranked(const CountedResample& resample) {
  const std::span<const int> positions = resample.positionByRank();
  return {positions.begin(), positions.end()};
}

// The drawn positions (from 0) in rising order, from the double generator.
std::vector<int> sortedDraws(ResampleGenerator& generator, int n) {
  std::vector<int> counts(n);
  for (int i = 0; i < n; ++i) ++counts[generator.drawPosition(n) - 1];
  std::vector<int> positions;
  for (int p = 0; p < n; ++p) positions.insert(positions.end(), counts[p], p);
  return positions;
}

void expectSameAsDoubleGenerator(double seed, int n) {
  ResampleGenerator counted(seed);
  ResampleGenerator stepped(seed);
  CountedResample resample(n);
  for (int pass = 0; pass < 3; ++pass) {
    resample.draw(counted);
    ASSERT_EQ(ranked(resample), sortedDraws(stepped, n))
        << "seed " << seed << " n " << n << " pass " << pass;
    ASSERT_EQ(counted.state(), stepped.state());
  }
}

TEST(CountedResample, WorkedFiveSizeDrawInRisingOrder) {
  ResampleGenerator generator(1234567);
  CountedResample resample(5);
  resample.draw(generator);  // positions 1, 3, 2, 4, 1
  EXPECT_EQ(ranked(resample), (std::vector<int>{0, 0, 1, 2, 3}));
  EXPECT_EQ(generator.state(), 6275000.0);
  resample.draw(generator);  // positions 2, 2, 2, 2, 4
  EXPECT_EQ(ranked(resample), (std::vector<int>{1, 1, 1, 1, 3}));
}

TEST(CountedResample, OneSizeTakesItsPositionWithoutStepping) {
  ResampleGenerator generator(1234.5);
  CountedResample resample(1);
  resample.draw(generator);
  EXPECT_EQ(ranked(resample), std::vector<int>{0});
  EXPECT_EQ(generator.state(), 1234.5);
}

TEST(CountedResample, MatchesDoubleGeneratorForWholeStates) {
  std::mt19937 random(7);
  for (const int n : {2, 3, 5, 216, 217, 999, 1000}) {
    expectSameAsDoubleGenerator(0, n);
    expectSameAsDoubleGenerator(16777215, n);
    expectSameAsDoubleGenerator(-0.0, n);
    expectSameAsDoubleGenerator(random() % 16777216u, n);
  }
}

TEST(CountedResample, MatchesDoubleGeneratorForOtherStates) {
  for (const int n : {2, 37, 1000}) {
    expectSameAsDoubleGenerator(1234.5, n);
    expectSameAsDoubleGenerator(0x1p-30, n);
    expectSameAsDoubleGenerator(16777215.5, n);
    expectSameAsDoubleGenerator(16777216.0, n);
    expectSameAsDoubleGenerator(3e15, n);
    expectSameAsDoubleGenerator(1e300, n);
  }
}

// Seeds whose first resample draws one position more often than spread
// writes slots for it in one go (9 and 10 times).
TEST(CountedResample, PositionDrawnOftenMatchesDoubleGenerator) {
  expectSameAsDoubleGenerator(68764, 40);
  expectSameAsDoubleGenerator(435, 1000);
}

TEST(CountedResample, FirstPositionHoldsTheFirstRank) {
  for (const double seed : {0.0, 1234.5, 1234567.0}) {
    for (const int n : {1, 2, 37, 1000}) {
      ResampleGenerator generator(seed);
      CountedResample resample(n);
      for (int pass = 0; pass < 3; ++pass) {
        resample.draw(generator);
        EXPECT_EQ(resample.firstPosition(), resample.positionByRank()[0]);
      }
    }
  }
}

}  // namespace
}  // namespace talvik
