#include "analysis/literal_bootstrap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/rank_size_a.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

double stateAfterSteps(double seed, int steps) {
  ResampleGenerator generator(seed);
  for (int i = 0; i < steps; ++i) generator.nextIndex();
  return generator.state();
}

int markedCount(const PassRecords& passes) {
  return static_cast<int>(std::count(passes.passState.begin(),
                                     passes.passState.end(), kMarkedState));
}

// passA[k] = values[k], the rest -infinity; passState[k] = 100 + k.
PassRecords passesWith(const std::vector<float>& values) {
  PassRecords passes;
  for (int k = 0; k < kResampleCount; ++k) {
    passes.passA[k] =
        k < static_cast<int>(values.size()) ? values[k] : -kInfinity;
    passes.passState[k] = 100.0 + k;
  }
  return passes;
}

TEST(LiteralBootstrap, FirstResampleIsDrawnFromTheSeed) {
  ResampleGenerator generator(1234567);
  EXPECT_EQ(drawOrderedResample(generator, {50, 40, 30, 20, 10}),
            (std::vector<float>{50, 50, 40, 30, 20}));
  EXPECT_EQ(generator.state(), 6275000.0);
  EXPECT_EQ(drawOrderedResample(generator, {50, 40, 30, 20, 10}),
            (std::vector<float>{40, 40, 40, 40, 20}));
}

TEST(LiteralBootstrap, ResampleWithZerosEndsInZeros) {
  ResampleGenerator generator(1234567);
  EXPECT_EQ(drawOrderedResample(generator, {50, 40, 0, 0, 0}),
            (std::vector<float>{50, 50, 40, 0, 0}));
}

TEST(LiteralBootstrap, FiveSizesMark328ResamplesIn994397Steps) {
  ResampleGenerator generator(1234567);
  const PassRecords passes = runLiteralPasses({100, 90, 80, 70, 60}, generator);
  EXPECT_EQ(passes.passState[0], 1234567.0);
  EXPECT_EQ(passes.passState[1], kMarkedState);
  EXPECT_EQ(markedCount(passes), 328);
  EXPECT_EQ(generator.state(), stateAfterSteps(1234567, 994397));
}

TEST(LiteralBootstrap, EachPassKeepsTheAOfItsResample) {
  const ObservedSizes sizes = {100, 90, 80, 70, 60};
  ResampleGenerator generator(1234567);
  const PassRecords passes = runLiteralPasses(sizes, generator);
  ResampleGenerator replay(1234567);
  for (int k = 0; k < kResampleCount; ++k) {
    std::vector<float> working = drawOrderedResample(replay, sizes);
    ASSERT_EQ(passes.passA[k], rankSizeA(working)) << "pass " << k + 1;
  }
}

TEST(LiteralBootstrap, ResampleHoldingAnEqualLargestSizeKeepsItsState) {
  ResampleGenerator generator(1234567);
  const PassRecords passes =
      runLiteralPasses({100, 100, 80, 70, 60}, generator);
  EXPECT_EQ(passes.passState[1], 6275000.0);
}

TEST(LiteralBootstrap, MeanSumsInPassOrder) {
  PassRecords passes = passesWith({});
  std::fill(passes.passA.begin(), passes.passA.end(), 0.0f);
  passes.passA[0] = 1e8f;
  passes.passA[1] = 1.0f;
  passes.passA[2] = -1e8f;
  // In pass order 1e8 + 1 rounds back to 1e8, so the 1 is lost.
  EXPECT_EQ(meanPassA(passes), 0.0f);
  passes.passA[2] = 1.0f;
  passes.passA[1] = -1e8f;
  EXPECT_EQ(meanPassA(passes), 1.0f / 1000.0f);
}

TEST(LiteralBootstrap, EqualValuesGoByPassNumber) {
  PassRecords passes;
  for (int k = 0; k < kResampleCount; ++k) {
    passes.passA[k] = static_cast<float>(k % 3);
    passes.passState[k] = k;
  }
  const BootstrapResult result = summarizeBySelection(passes, 0.0f);
  for (int i = 0; i < kResampleCount; ++i) {
    // 333 values 2 (passes 3, 6, ...), 333 values 1, then 334 values 0.
    const int group = i < 333 ? 2 : i < 666 ? 1 : 0;
    const int rank = i - (group == 2 ? 0 : group == 1 ? 333 : 666);
    ASSERT_EQ(result.orderedA[i], static_cast<float>(group)) << i;
    ASSERT_EQ(result.orderedState[i], group + 3.0 * rank) << i;
  }
}

TEST(LiteralBootstrap, SummaryHoldsMeanAndShift) {
  PassRecords passes;
  for (int k = 0; k < kResampleCount; ++k) {
    passes.passA[k] = 0.5f;
    passes.passState[k] = k;
  }
  const BootstrapResult result = summarizeBySelection(passes, 0.75f);
  EXPECT_EQ(result.observedA, 0.75f);
  EXPECT_EQ(result.meanA, 0.5f);
  EXPECT_EQ(result.shift, 0.25f);
}

TEST(LiteralBootstrap, UntakenPositionsHoldFloorAndMark) {
  PassRecords passes = passesWith({0.5f, -0.25f});
  passes.passA[7] = -99999.0f;
  passes.passA[8] = -200000.0f;
  const BootstrapResult result = summarizeBySelection(passes, 0.0f);
  EXPECT_EQ(result.orderedA[0], 0.5f);
  EXPECT_EQ(result.orderedState[0], 100.0);
  EXPECT_EQ(result.orderedA[1], -0.25f);
  EXPECT_EQ(result.orderedState[1], 101.0);
  for (int i = 2; i < kResampleCount; ++i) {
    ASSERT_EQ(result.orderedA[i], -99999.0f) << i;
    ASSERT_EQ(result.orderedState[i], kMarkedState) << i;
  }
}

TEST(LiteralBootstrap, NaNAtLastPassIsTakenFirst) {
  PassRecords passes = passesWith({0.5f, 0.25f});
  passes.passA[999] = std::numeric_limits<float>::quiet_NaN();
  const BootstrapResult result = summarizeBySelection(passes, 0.0f);
  EXPECT_TRUE(std::isnan(result.orderedA[0]));
  EXPECT_EQ(result.orderedState[0], 1099.0);
  EXPECT_EQ(result.orderedA[1], 0.5f);
  EXPECT_EQ(result.orderedA[2], 0.25f);
  EXPECT_EQ(result.orderedA[3], -99999.0f);
  EXPECT_TRUE(std::isnan(result.meanA));
}

// Nothing is greater than or equal to NaN, so the value after it is taken
// too, on every scan, even once it has become -99999.0.
TEST(LiteralBootstrap, NaNHandsTheScanToTheValueAfterIt) {
  PassRecords passes = passesWith({1.0f, std::nanf(""), 0.5f});
  const BootstrapResult result = summarizeBySelection(passes, 0.0f);
  EXPECT_EQ(result.orderedA[0], 0.5f);
  EXPECT_EQ(result.orderedState[0], 102.0);
  for (int i = 1; i < kResampleCount; ++i) {
    ASSERT_EQ(result.orderedA[i], -99999.0f) << i;
    ASSERT_EQ(result.orderedState[i], 102.0) << i;
  }
}

TEST(LiteralBootstrap, MinusInfinityCountsInTheMean) {
  ResampleGenerator generator(1234567);
  const BootstrapResult result =
      runLiteralBootstrap({10, 5, 0}, generator, -kInfinity);
  EXPECT_EQ(result.meanA, -kInfinity);
  EXPECT_TRUE(std::isnan(result.shift));
}

}  // namespace
}  // namespace talvik
