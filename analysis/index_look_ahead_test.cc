#include "analysis/index_look_ahead.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "analysis/resample_generator.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

constexpr std::uint32_t kStateCount = std::uint32_t{1} << 24;

// The generator's recurrence has full period (853 is odd and 4 divides
// 4101 - 1), so the blocks from 0 on meet every state once: this checks the
// position of every state against integer division.
TEST(IndexLookAhead, BlocksCoverTheWholeCycleExactly) {
  IndexLookAhead::Block positions;
  std::uint32_t state = 0;
  for (std::uint32_t block = 0;
       block < kStateCount / IndexLookAhead::kBlockSteps; ++block) {
    computeBlockPositions(state, 1000, positions);
    for (const std::int16_t position : positions) {
      state = (4101 * state + 853) % kStateCount;
      ASSERT_EQ(position, static_cast<std::int16_t>(state % 1000))
          << "state " << state;
    }
  }
  EXPECT_EQ(state, 0u);
}

TEST(IndexLookAhead, StepsAboveTheListGiveN) {
  IndexLookAhead::Block positions;
  for (const int n : {2, 37, 999}) {
    std::uint32_t state = 16777215;
    computeBlockPositions(state, n, positions);
    for (const std::int16_t position : positions) {
      state = (4101 * state + 853) % kStateCount;
      const int index = static_cast<int>(state % 1000);
      ASSERT_EQ(position, std::min(index, n)) << "n " << n;
    }
  }
}

// Takes steps in runs that end inside, on and across block boundaries, and
// compares the counts and states with the double generator's steps.
TEST(IndexLookAhead, CountsAndStatesMatchDoubleGenerator) {
  const int n = 600;
  for (const double seed : {0.0, 1234567.0, 16777215.0}) {
    IndexLookAhead lookAhead(n);
    ResampleGenerator generator(seed);
    lookAhead.continueFrom(static_cast<std::uint32_t>(seed));
    for (const int steps : {1, 1022, 1, 1024, 5000, 3, 2047}) {
      std::vector<std::uint16_t> counts(n + 1);
      std::vector<std::uint16_t> expected(n + 1);
      lookAhead.countSteps(steps, counts);
      for (int i = 0; i < steps; ++i) {
        ++expected[std::min(generator.nextIndex() - 1, n)];
      }
      ASSERT_EQ(counts, expected) << "seed " << seed << " steps " << steps;
      ASSERT_EQ(static_cast<double>(lookAhead.state()), generator.state());
    }
  }
}

TEST(IndexLookAhead, CountDrawsStopsOnTheLastDraw) {
  for (const int n : {2, 37, 600}) {
    IndexLookAhead lookAhead(n);
    ResampleGenerator generator(1234567);
    lookAhead.continueFrom(1234567);
    for (const int draws : {1, 5, 40, 3}) {
      std::vector<std::uint16_t> counts(n + 1);
      std::vector<std::uint16_t> expected(n + 1);
      lookAhead.countDraws(draws, counts);
      for (int i = 0; i < draws; ++i) ++expected[generator.drawPosition(n) - 1];
      ASSERT_EQ(counts, expected) << "n " << n << " draws " << draws;
      ASSERT_EQ(static_cast<double>(lookAhead.state()), generator.state());
    }
  }
}

// A state that the steps taken do not lead to starts the look-ahead afresh.
TEST(IndexLookAhead, ContinuesFromAnotherStateAfresh) {
  IndexLookAhead lookAhead(1000);
  std::vector<std::uint16_t> counts(1001);
  lookAhead.continueFrom(5);
  lookAhead.countSteps(10, counts);
  lookAhead.continueFrom(5);
  std::vector<std::uint16_t> again(1001);
  std::vector<std::uint16_t> expected(1001);
  lookAhead.countSteps(3, again);
  ResampleGenerator generator(5);
  for (int i = 0; i < 3; ++i) ++expected[generator.nextIndex() - 1];
  EXPECT_EQ(again, expected);
  EXPECT_EQ(static_cast<double>(lookAhead.state()), generator.state());
}

}  // namespace
}  // namespace talvik
