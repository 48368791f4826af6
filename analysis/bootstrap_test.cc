#include "analysis/bootstrap.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "analysis/literal_bootstrap.h"
#include "analysis/rank_size_a.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

double stateAfterSteps(double seed, int steps) {
  ResampleGenerator generator(seed);
  for (int i = 0; i < steps; ++i) generator.nextIndex();
  return generator.state();
}

int markedCount(const BootstrapResult& result) {
  return static_cast<int>(std::count_if(
      result.orderedState.begin(), result.orderedState.end(), isMarkedState));
}

BootstrapResult bootstrapOf(const ObservedSizes& sizes, double seed) {
  ResampleGenerator generator(seed);
  return runBootstrap(sizes, generator, observedA(sizes));
}

ObservedSizes descendingSizes(int n) {
  ObservedSizes sizes;
  for (int i = 0; i < n; ++i) sizes.push_back(static_cast<float>(n - i));
  return sizes;
}

// orderedA[i] = (N - i) / 8, every state i.
BootstrapResult evenResult(float shift, int resamples = kResampleCount) {
  BootstrapResult result(resamples);
  result.shift = shift;
  for (int i = 0; i < resamples; ++i) {
    result.orderedA[i] = static_cast<float>(resamples - i) / 8.0f;
    result.orderedState[i] = i;
  }
  return result;
}

TEST(Bootstrap, ObservedAIsRankSizeAOfACopy) {
  const ObservedSizes sizes = {1000, 400, 300, 200, 100};
  std::vector<float> working = sizes;
  EXPECT_EQ(observedA(sizes), rankSizeA(working));
  EXPECT_EQ(sizes, (ObservedSizes{1000, 400, 300, 200, 100}));
}

TEST(Bootstrap, FiveSizesMark328ResamplesIn994397Steps) {
  ResampleGenerator generator(1234567);
  const ObservedSizes sizes = {100, 90, 80, 70, 60};
  const BootstrapResult result = runBootstrap(sizes, generator, 0.0f);
  EXPECT_EQ(markedCount(result), 328);
  EXPECT_EQ(generator.state(), stateAfterSteps(1234567, 994397));
  EXPECT_EQ(std::count(result.orderedState.begin(), result.orderedState.end(),
                       1234567.0),
            1);
  EXPECT_EQ(std::count(result.orderedState.begin(), result.orderedState.end(),
                       6275000.0),
            0);
}

TEST(Bootstrap, ThousandSizesMark355ResamplesInAMillionSteps) {
  ResampleGenerator generator(1234567);
  const BootstrapResult result =
      runBootstrap(descendingSizes(1000), generator, 0.0f);
  EXPECT_EQ(markedCount(result), 355);
  EXPECT_EQ(generator.state(), stateAfterSteps(1234567, 1000000));
  EXPECT_EQ(std::count(result.orderedState.begin(), result.orderedState.end(),
                       13503135.0),
            1);
}

TEST(Bootstrap, OneSettlementGivesZeros) {
  const BootstrapResult result = bootstrapOf({250}, 1234567);
  EXPECT_EQ(result.observedA, 0.0f);
  EXPECT_EQ(result.meanA, 0.0f);
  EXPECT_EQ(result.shift, 0.0f);
  for (int i = 0; i < kResampleCount; ++i) {
    ASSERT_EQ(result.orderedA[i], 0.0f);
    ASSERT_EQ(result.orderedState[i], 1234567.0);
  }
  for (const int level : {99, 95, 90, 80, 66, 1}) {
    const ErrorRange range = errorRange(result, level);
    EXPECT_EQ(range.lower, 0.0f);
    EXPECT_EQ(range.upper, 0.0f);
    EXPECT_EQ(range.width, 0.0f);
  }
}

TEST(Bootstrap, SameSeedGivesSameResult) {
  const ObservedSizes sizes = {900, 500, 500, 120, 60, 8, 0};
  const BootstrapResult first = bootstrapOf(sizes, 424242);
  const BootstrapResult second = bootstrapOf(sizes, 424242);
  EXPECT_EQ(first.meanA, second.meanA);
  EXPECT_EQ(first.orderedA, second.orderedA);
  EXPECT_EQ(first.orderedState, second.orderedState);
}

TEST(Bootstrap, BoundPositionsOfLevels) {
  const struct {
    int level;
    int upper;
    int lower;
  } cases[] = {{99, 5, 996},   {95, 25, 976},  {90, 50, 951}, {80, 100, 901},
               {66, 170, 831}, {50, 250, 751}, {1, 495, 506}};
  for (const auto& c : cases) {
    const BoundPositions positions = boundPositions(c.level);
    EXPECT_EQ(positions.upper, c.upper) << c.level;
    EXPECT_EQ(positions.lower, c.lower) << c.level;
  }
}

TEST(Bootstrap, BoundPositionsScaleWithResamples) {
  const struct {
    int level;
    int resamples;
    int upper;
    int lower;
  } cases[] = {{99, 2000, 10, 1991},
               {95, 5000, 125, 4876},
               {90, 10000, 500, 9501},
               {66, 100000, 17000, 83001},
               {1, 3000, 1485, 1516}};
  for (const auto& c : cases) {
    const BoundPositions positions = boundPositions(c.level, c.resamples);
    EXPECT_EQ(positions.upper, c.upper) << c.level << " " << c.resamples;
    EXPECT_EQ(positions.lower, c.lower) << c.level << " " << c.resamples;
  }
}

TEST(Bootstrap, ErrorRangeTakesTheResultsResamples) {
  const ErrorRange range = errorRange(evenResult(0.375f, 2000), 90);
  EXPECT_EQ(range.upper, 1901.0f / 8.0f + 0.375f);
  EXPECT_EQ(range.lower, 100.0f / 8.0f + 0.375f);
  EXPECT_EQ(range.width, 1901.0f / 8.0f - 100.0f / 8.0f);
}

TEST(Bootstrap, ScansOfMoreResamplesSpanThemAllButTheLowerScansLast) {
  BootstrapResult result = evenResult(0.0f, 3000);
  ErrorRange range = errorRange(result, 95);
  range.upper = -1.0f;
  range.lower = -1.0f;
  EXPECT_EQ(selectUpperResample(result, range), 3000);
  EXPECT_EQ(selectLowerResample(result, range), 2999);
  result.orderedState[2998] = kMarkedState;
  EXPECT_EQ(selectLowerResample(result, range), 2998);
}

TEST(Bootstrap, ErrorRangeShiftsBoundsButNotWidth) {
  for (const float shift : {0.0f, 0.375f, -1000.0f}) {
    const ErrorRange range = errorRange(evenResult(shift), 90);
    EXPECT_EQ(range.level, 90);
    EXPECT_EQ(range.upper, 951.0f / 8.0f + shift);
    EXPECT_EQ(range.lower, 50.0f / 8.0f + shift);
    EXPECT_EQ(range.width, 951.0f / 8.0f - 50.0f / 8.0f);
  }
}

// A zero size makes A minus infinity, and the shift -inf - -inf; an infinite
// pair of bound values makes the width inf - inf. Each NaN has the sign bit
// on every machine.
TEST(Bootstrap, NaNsMadeOnTheWayHaveTheSignBit) {
  const auto bits = [](float value) {
    return std::bit_cast<std::uint32_t>(value);
  };
  const BootstrapResult zero = bootstrapOf({10.0f, 5.0f, 0.0f}, 1234567);
  EXPECT_EQ(bits(zero.shift), 0xffc00000u);
  const ErrorRange shifted = errorRange(zero, 95);
  EXPECT_EQ(bits(shifted.lower), 0xffc00000u);
  EXPECT_EQ(bits(shifted.upper), 0xffc00000u);

  BootstrapResult infinite = evenResult(0.0f);
  std::fill(infinite.orderedA.begin(), infinite.orderedA.end(),
            std::numeric_limits<float>::infinity());
  EXPECT_EQ(bits(errorRange(infinite, 95).width), 0xffc00000u);
}

TEST(Bootstrap, UpperResampleIsFirstUnmarkedAtOrBelowBound) {
  BootstrapResult result = evenResult(0.0f);
  const ErrorRange range = errorRange(result, 95);  // position 25
  EXPECT_EQ(selectUpperResample(result, range), 25);
  result.orderedState[24] = -1.0;
  result.orderedState[25] = -1.0;
  EXPECT_EQ(selectUpperResample(result, range), 27);
}

TEST(Bootstrap, UpperResampleComparesWithShiftedBound) {
  const BootstrapResult result = evenResult(1.0f);  // eight positions
  EXPECT_EQ(selectUpperResample(result, errorRange(result, 95)), 17);
  const BootstrapResult below = evenResult(-1.0f);
  EXPECT_EQ(selectUpperResample(below, errorRange(below, 95)), 33);
}

TEST(Bootstrap, LowerResampleIsFirstUnmarkedFromBelowAtOrAboveBound) {
  BootstrapResult result = evenResult(0.0f);
  const ErrorRange range = errorRange(result, 95);  // position 976
  EXPECT_EQ(selectLowerResample(result, range), 976);
  result.orderedState[975] = -1.0;
  EXPECT_EQ(selectLowerResample(result, range), 975);
}

TEST(Bootstrap, LowerResampleIsNeverPosition1000) {
  BootstrapResult result = evenResult(0.0f);
  ErrorRange range = errorRange(result, 95);
  range.lower = -1.0f;
  EXPECT_EQ(selectLowerResample(result, range), 999);
  result.orderedState[998] = -1.0;
  EXPECT_EQ(selectLowerResample(result, range), 998);
}

TEST(Bootstrap, NoQualifyingPositionTakesNearestUnmarked) {
  BootstrapResult result = evenResult(0.0f);
  ErrorRange range = errorRange(result, 95);
  range.upper = -1.0f;
  range.lower = 1000.0f;
  result.orderedState[999] = -1.0;
  result.orderedState[0] = -1.0;
  EXPECT_EQ(selectUpperResample(result, range), 999);
  EXPECT_EQ(selectLowerResample(result, range), 2);
}

TEST(Bootstrap, EveryExaminedPositionMarkedSelectsNothing) {
  BootstrapResult result = evenResult(0.0f);
  const ErrorRange range = errorRange(result, 95);
  std::fill(result.orderedState.begin(), result.orderedState.end(), -1.0);
  EXPECT_EQ(selectUpperResample(result, range), std::nullopt);
  result.orderedState[999] = 5.0;
  EXPECT_EQ(selectLowerResample(result, range), std::nullopt);
  EXPECT_EQ(selectUpperResample(result, range), 1000);
}

TEST(Bootstrap, EqualSizesStillSelectBothResamples) {
  const BootstrapResult result = bootstrapOf(ObservedSizes(11, 7.0f), 1234567);
  const ErrorRange range = errorRange(result, 90);
  ASSERT_LT(result.shift, 0.0f);
  EXPECT_EQ(selectUpperResample(result, range), 1000);
  EXPECT_EQ(selectLowerResample(result, range), 999);
}

// Replays the passes to find the resample drawn from `state`.
std::vector<float> resampleOfPass(const ObservedSizes& sizes, double seed,
                                  double state) {
  ResampleGenerator generator(seed);
  for (int k = 0; k < kResampleCount; ++k) {
    const double before = generator.state();
    std::vector<float> resample = drawOrderedResample(generator, sizes);
    if (before == state) return resample;
  }
  return {};
}

TEST(Bootstrap, RegeneratedResampleIsTheOneDrawnInItsPass) {
  const ObservedSizes sizes = {880, 640, 640, 310, 205, 190, 77,
                               45,  45,  12,  3,   0,   0};
  ResampleGenerator generator(1234567);
  const BootstrapResult result = runBootstrap(sizes, generator, 0.0f);
  for (const int level : {99, 66, 1}) {
    const ErrorRange range = errorRange(result, level);
    for (const std::optional<int> position :
         {selectUpperResample(result, range),
          selectLowerResample(result, range)}) {
      ASSERT_TRUE(position.has_value());
      const double state = result.orderedState[*position - 1];
      const std::vector<float> first =
          regenerateResample(generator, state, sizes);
      EXPECT_EQ(regenerateResample(generator, state, sizes), first);
      EXPECT_EQ(first, resampleOfPass(sizes, 1234567, state));
    }
  }
}

// What a plotting file shows: the bound resamples of their passes, whatever
// state the generator was left in, and the observed sizes where no position
// can be plotted.
TEST(Bootstrap, AnalyseLevelGivesTheRangeAndTheBoundResamplesOfItsPasses) {
  const ObservedSizes sizes = {880, 640, 640, 310, 205, 190, 77,
                               45,  45,  12,  3,   0,   0};
  ResampleGenerator generator(1234567);
  BootstrapResult result = runBootstrap(sizes, generator, 0.0f);
  const LevelAnalysis level = analyseLevel(sizes, result, generator, 80);
  const ErrorRange range = errorRange(result, 80);
  EXPECT_EQ(level.range.lower, range.lower);
  EXPECT_EQ(level.range.upper, range.upper);
  EXPECT_EQ(level.referenceLine[0], 880.0f);
  EXPECT_EQ(level.referenceLine[12], 880.0f / 13.0f);
  const int upper = *selectUpperResample(result, range);
  const int lower = *selectLowerResample(result, range);
  EXPECT_EQ(level.upperResample,
            resampleOfPass(sizes, 1234567, result.orderedState[upper - 1]));
  EXPECT_EQ(level.lowerResample,
            resampleOfPass(sizes, 1234567, result.orderedState[lower - 1]));

  std::fill(result.orderedState.begin(), result.orderedState.end(),
            kMarkedState);
  const LevelAnalysis unplottable = analyseLevel(sizes, result, generator, 80);
  EXPECT_EQ(unplottable.upperResample, sizes);
  EXPECT_EQ(unplottable.lowerResample, sizes);
}

}  // namespace
}  // namespace talvik
