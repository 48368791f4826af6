#include "analysis/resample_generator.h"

#include <cmath>
#include <limits>
#include <vector>

#include "gtest/gtest.h"

namespace talvik {
namespace {

struct Step {
  double state;
  int index;
};

std::vector<Step> firstSteps(double seed, int count) {
  ResampleGenerator generator(seed);
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    const int index = generator.nextIndex();
    steps.push_back({generator.state(), index});
  }
  return steps;
}

void expectSteps(double seed, const std::vector<Step>& expected) {
  const std::vector<Step> steps =
      firstSteps(seed, static_cast<int>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(steps[i].state, expected[i].state) << "step " << i + 1;
    EXPECT_EQ(steps[i].index, expected[i].index) << "step " << i + 1;
  }
}

std::vector<int> drawPositions(ResampleGenerator& generator, int n, int count) {
  std::vector<int> positions;
  for (int i = 0; i < count; ++i)
    positions.push_back(generator.drawPosition(n));
  return positions;
}

double stateAfterSteps(double seed, int steps) {
  ResampleGenerator generator(seed);
  for (int i = 0; i < steps; ++i) generator.nextIndex();
  return generator.state();
}

TEST(ResampleGenerator, SeedOneTwoThreeFourFiveSixSevenGivesWorkedStates) {
  expectSteps(1234567, {{13018104, 105},
                        {2144045, 46},
                        {1468214, 215},
                        {14903139, 140},
                        {15153220, 221},
                        {548009, 10}});
}

TEST(ResampleGenerator, SeedZeroGivesWorkedStates) {
  expectSteps(0, {{853, 854}, {3499006, 7}, {4904779, 780}});
}

TEST(ResampleGenerator, LargestWholeSeedGivesWorkedStates) {
  expectSteps(16777215, {{16773968, 969}, {3458021, 22}});
}

TEST(ResampleGenerator, StateBeforeFirstStepIsTheSeed) {
  EXPECT_EQ(ResampleGenerator(1234567).state(), 1234567.0);
  EXPECT_EQ(ResampleGenerator(1234.5).state(), 1234.5);
}

TEST(ResampleGenerator, SameSeedGivesSameSequence) {
  const std::vector<Step> first = firstSteps(987654.0, 500);
  const std::vector<Step> second = firstSteps(987654.0, 500);
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].state, second[i].state);
    EXPECT_EQ(first[i].index, second[i].index);
  }
}

TEST(ResampleGenerator, FiveSizesFirstResampleTakes833Steps) {
  ResampleGenerator generator(1234567);
  EXPECT_EQ(drawPositions(generator, 5, 5), (std::vector<int>{1, 3, 2, 4, 1}));
  EXPECT_EQ(generator.state(), 6275000.0);
  EXPECT_EQ(generator.state(), stateAfterSteps(1234567, 833));
  EXPECT_EQ(drawPositions(generator, 5, 5), (std::vector<int>{2, 2, 2, 2, 4}));
}

TEST(ResampleGenerator, ThousandSizesThrowNothingAway) {
  ResampleGenerator generator(1234567);
  const std::vector<int> positions = drawPositions(generator, 1000, 1000);
  EXPECT_EQ(std::vector<int>(positions.begin(), positions.begin() + 8),
            (std::vector<int>{105, 46, 215, 140, 221, 10, 35, 864}));
  EXPECT_EQ(generator.state(), 13503135.0);
  EXPECT_EQ(generator.state(), stateAfterSteps(1234567, 1000));
}

TEST(ResampleGenerator, SettingStateBackRepeatsTheDraws) {
  for (const double seed : {1234567.0, 1234.5, 0.0, 16777215.0}) {
    for (const int n : {2, 7, 640, 1000}) {
      ResampleGenerator generator(seed);
      generator.drawPosition(3);
      const double recorded = generator.state();
      const std::vector<int> first = drawPositions(generator, n, n);
      const double after = generator.state();
      generator.setState(recorded);
      EXPECT_EQ(drawPositions(generator, n, n), first);
      EXPECT_EQ(generator.state(), after);
    }
  }
}

TEST(ResampleGenerator, FractionalSeedKeepsIndexesInRange) {
  ResampleGenerator generator(1234.5);
  for (int i = 0; i < 100000; ++i) {
    const int index = generator.nextIndex();
    ASSERT_GE(index, 1);
    ASSERT_LE(index, 1000);
    ASSERT_NE(std::trunc(generator.state()), generator.state());
  }
}

TEST(ResampleGenerator, DrawPositionStaysWithinTheList) {
  ResampleGenerator generator(0.0078125);
  for (const int n : {2, 3, 216, 217, 999}) {
    for (int i = 0; i < 2000; ++i) {
      const int position = generator.drawPosition(n);
      ASSERT_GE(position, 1);
      ASSERT_LE(position, n);
    }
  }
}

TEST(ResampleGenerator, OneSizeIsDrawnWithoutStepping) {
  for (const double seed : {1234567.0, 1234.5, 0.25}) {
    ResampleGenerator generator(seed);
    EXPECT_EQ(drawPositions(generator, 1, 50), std::vector<int>(50, 1));
    EXPECT_EQ(generator.state(), seed);
  }
}

TEST(ResampleGenerator, BigSeedStepsIntoRange) {
  ResampleGenerator generator(1e300);
  const int index = generator.nextIndex();
  EXPECT_EQ(generator.state(), 0.0);
  EXPECT_EQ(index, 1);
}

TEST(ResampleGenerator, UsableSeeds) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double seed;
    bool usable;
  } cases[] = {
      {0.0, true},
      {-0.0, true},
      {1234567.0, true},
      {1234.5, true},
      {16777216.0, true},
      {1e300, true},
      {4e304, true},
      {5e304, false},
      {-1.0, false},
      {-1e-300, false},
      {kInfinity, false},
      {-kInfinity, false},
      {std::numeric_limits<double>::quiet_NaN(), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isUsableSeed(c.seed), c.usable) << c.seed;
  }
}

TEST(ResampleGenerator, NegativeZeroSeedStepsLikeZero) {
  ResampleGenerator generator(-0.0);
  EXPECT_TRUE(std::signbit(generator.state()));
  EXPECT_EQ(generator.nextIndex(), 854);
  EXPECT_EQ(generator.state(), 853.0);
}

}  // namespace
}  // namespace talvik
