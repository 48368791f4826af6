#include "plot/log_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace talvik {
namespace {

TEST(LogScale, SpansFromTheDecadeBelowTheSmallestToTheDecadeAboveTheLargest) {
  struct Case {
    double smallest;
    double largest;
    DecadeRange expected;
  };
  const Case cases[] = {
      {25.0, 25.0, {1, 2}},
      {0.5, 1200.0, {-1, 4}},
      {10.0, 1000.0, {1, 3}},
      {100.0, 100.0, {2, 3}},
      {1.0, 1.0, {0, 1}},
      {1.0, 37.0, {0, 2}},
      {0.0001, 9999999999.9999, {-4, 10}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decadesAround(c.smallest, c.largest), c.expected)
        << c.smallest << " to " << c.largest;
  }
}

TEST(LogScale, PlacesValuesByTheirLogarithmBetweenTheEnds) {
  const LogAxis upward({1, 3}, 450.0, 70.0);
  EXPECT_DOUBLE_EQ(upward.pixelOf(10.0), 450.0);
  EXPECT_DOUBLE_EQ(upward.pixelOf(100.0), 260.0);
  EXPECT_DOUBLE_EQ(upward.pixelOf(1000.0), 70.0);
  EXPECT_NEAR(upward.pixelOf(500.0), 127.196, 0.001);
  EXPECT_DOUBLE_EQ(upward.pixelOfLogarithm(1.5), 355.0);
  EXPECT_DOUBLE_EQ(upward.decadeLength(), 190.0);

  const LogAxis rightward({0, 1}, 90.0, 640.0);
  EXPECT_DOUBLE_EQ(rightward.pixelOf(1.0), 90.0);
  EXPECT_NEAR(rightward.pixelOf(2.0), 255.566, 0.001);
  EXPECT_DOUBLE_EQ(rightward.decadeLength(), 550.0);
}

TEST(LogScale, TicksThePowersOfTenAndTheirMultiplesWithinTheRange) {
  const LogAxis axis({-0.05, 1.6}, 0.0, 100.0);
  EXPECT_EQ(axis.ticks(false), (std::vector<LogTick>{{0, 1}, {1, 1}}));
  // 0.9 lies within the range, 40 (log 1.602) beyond it.
  EXPECT_EQ(axis.ticks(true), (std::vector<LogTick>{{-1, 9},
                                                    {0, 1},
                                                    {0, 2},
                                                    {0, 3},
                                                    {0, 4},
                                                    {0, 5},
                                                    {0, 6},
                                                    {0, 7},
                                                    {0, 8},
                                                    {0, 9},
                                                    {1, 1},
                                                    {1, 2},
                                                    {1, 3}}));
  EXPECT_DOUBLE_EQ(LogTick({1, 3}).logarithm(), std::log10(30.0));
}

}  // namespace
}  // namespace talvik
