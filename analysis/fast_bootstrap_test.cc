#include "analysis/fast_bootstrap.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "analysis/literal_bootstrap.h"
#include "analysis/random_sizes_testutil.h"
#include "analysis/rank_size_a.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }
std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

void expectSameBits(const BootstrapResult& fast,
                    const BootstrapResult& literal) {
  EXPECT_EQ(bits(fast.observedA), bits(literal.observedA));
  EXPECT_EQ(bits(fast.meanA), bits(literal.meanA));
  EXPECT_EQ(bits(fast.shift), bits(literal.shift));
  ASSERT_EQ(fast.resamples(), literal.resamples());
  for (int i = 0; i < fast.resamples(); ++i) {
    ASSERT_EQ(bits(fast.orderedA[i]), bits(literal.orderedA[i]))
        << "position " << i + 1;
    ASSERT_EQ(bits(fast.orderedState[i]), bits(literal.orderedState[i]))
        << "position " << i + 1;
  }
}

void expectBootstrapMatchesLiteral(const ObservedSizes& sizes, double seed,
                                   int resamples = kResampleCount) {
  SCOPED_TRACE(::testing::Message() << "n " << sizes.size() << " seed " << seed
                                    << " resamples " << resamples);
  const float a = observedA(sizes);
  ResampleGenerator fastGenerator(seed);
  ResampleGenerator literalGenerator(seed);
  expectSameBits(runBootstrap(sizes, fastGenerator, a, resamples),
                 runLiteralBootstrap(sizes, literalGenerator, a, resamples));
  EXPECT_EQ(bits(fastGenerator.state()), bits(literalGenerator.state()));
}

TEST(FastBootstrap, ExactForOrderedListsWithoutNaN) {
  const struct {
    ObservedSizes sizes;
    bool exact;
  } cases[] = {
      {{7}, true},        {{9, 9, 4, 0, 0}, true}, {{kInfinity, 12, 0}, true},
      {{0, 0}, true},     {{5, 6}, false},         {{5, 0, 3}, false},
      {{kNaN, 3}, false}, {{8, kNaN}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fastPassesAreExact(c.sizes), c.exact) << c.sizes.size();
  }
}

TEST(FastBootstrap, WorkedFiveSizeBootstrapMatchesLiteral) {
  expectBootstrapMatchesLiteral({100, 90, 80, 70, 60}, 1234567);
  expectBootstrapMatchesLiteral({120, 60, 40, 30, 24}, 1234567);
  expectBootstrapMatchesLiteral({10, 5, 0}, 1234567);
  expectBootstrapMatchesLiteral({100, 90, 80, 70, 60}, -0.0);
}

// Each case runs a million generator steps both ways; the resample-level
// tests cover many more lists.
TEST(FastBootstrap, RandomListsMatchLiteral) {
  RandomSizes random(20240611);
  for (int i = 0; i < 8; ++i) {
    const ObservedSizes sizes = random.next(random.count(i < 6 ? 12 : 200));
    expectBootstrapMatchesLiteral(sizes, random.seed());
  }
}

TEST(FastBootstrap, MoreResamplesMatchLiteral) {
  RandomSizes random(20261209);
  for (int i = 0; i < 4; ++i) {
    const ObservedSizes sizes = random.next(random.count(i < 3 ? 12 : 100));
    expectBootstrapMatchesLiteral(sizes, random.seed(), i < 3 ? 3000 : 2000);
  }
  expectBootstrapMatchesLiteral({250.0f}, 1234.5, 2000);
  expectBootstrapMatchesLiteral({10, 5, 0}, 1234567, 3000);
}

// The generator's stream goes on past the dialogue's 1000 resamples, whichever
// way the passes are run.
TEST(FastBootstrap, First1000PassesOfMoreResamplesAreTheDialogues) {
  RandomSizes random(5000);
  const ObservedSizes sizes = random.next(37);
  const ObservedSizes withNaN =
      orderLargestFirst(std::vector<float>{30, kNaN, 20, 10});
  ResampleGenerator thousand(1234567);
  ResampleGenerator more(1234567);
  const PassRecords dialogue = runFastPasses(sizes, thousand);
  const PassRecords longer = runFastPasses(sizes, more, 5000);
  ResampleGenerator literalThousand(7654321);
  ResampleGenerator literalMore(7654321);
  const PassRecords literal = runLiteralPasses(withNaN, literalThousand);
  const PassRecords literalLonger =
      runLiteralPasses(withNaN, literalMore, 5000);
  ASSERT_EQ(longer.passA.size(), 5000u);
  for (int k = 0; k < kResampleCount; ++k) {
    ASSERT_EQ(bits(longer.passA[k]), bits(dialogue.passA[k])) << k + 1;
    ASSERT_EQ(bits(longer.passState[k]), bits(dialogue.passState[k])) << k + 1;
    ASSERT_EQ(bits(literalLonger.passA[k]), bits(literal.passA[k])) << k + 1;
  }
}

// The generator's 2^24 states last about 16778 resamples of 1000 steps. With
// at most 216 sizes a whole period accepts a multiple of n draws, so pass
// 16779 is pass 1 again and the resamples repeat from there.
TEST(FastBootstrap, ResamplesRepeatAfterTheGeneratorsPeriod) {
  RandomSizes random(16778);
  const ObservedSizes sizes = random.next(37);
  ResampleGenerator generator(1234567);
  const PassRecords passes = runFastPasses(sizes, generator, 18000);
  for (int k = 0; k < 18000 - 16778; ++k) {
    ASSERT_EQ(bits(passes.passA[k + 16778]), bits(passes.passA[k])) << k + 1;
  }
}

TEST(FastBootstrap, SingleSizeMatchesLiteral) {
  for (const float size : {250.0f, 0.0f, kInfinity}) {
    expectBootstrapMatchesLiteral({size}, 1234.5);
  }
}

TEST(FastBootstrap, ListWithNaNFallsBackToLiteral) {
  expectBootstrapMatchesLiteral(
      orderLargestFirst(std::vector<float>{30, kNaN, 20, 10}), 1234567);
}

TEST(FastBootstrap, CountedResampleEqualsSelectedResample) {
  RandomSizes random(77);
  for (int i = 0; i < 200; ++i) {
    const ObservedSizes sizes = random.next(random.count(300));
    const double seed = random.seed();
    ResampleGenerator counted(seed);
    ResampleGenerator selected(seed);
    for (int pass = 0; pass < 2; ++pass) {
      const std::vector<float> fast = drawCountedResample(counted, sizes);
      const std::vector<float> literal = drawOrderedResample(selected, sizes);
      ASSERT_EQ(fast.size(), literal.size());
      for (std::size_t r = 0; r < fast.size(); ++r) {
        ASSERT_EQ(bits(fast[r]), bits(literal[r])) << "case " << i;
      }
      ASSERT_EQ(bits(counted.state()), bits(selected.state()));
    }
  }
}

// A thousand sizes: the repeated selection costs a million comparisons per
// resample, so the literal replay orders and measures every 40th resample
// and only draws the others, checking their states.
TEST(FastBootstrap, ThousandSizesPassesMatchLiteral) {
  RandomSizes random(1000);
  const ObservedSizes sizes = random.next(1000);
  const int n = static_cast<int>(sizes.size());
  ResampleGenerator generator(1234567);
  const PassRecords fast = runFastPasses(sizes, generator);
  ResampleGenerator replay(1234567);
  for (int k = 0; k < kResampleCount; ++k) {
    const double state = replay.state();
    if (k % 40 == 0) {
      std::vector<float> working = drawOrderedResample(replay, sizes);
      const double recorded = sizes[0] > working[0] ? kMarkedState : state;
      ASSERT_EQ(bits(fast.passState[k]), bits(recorded)) << "pass " << k + 1;
      ASSERT_EQ(bits(fast.passA[k]), bits(rankSizeA(working)))
          << "pass " << k + 1;
    } else {
      for (int i = 0; i < n; ++i) replay.drawPosition(n);
      if (fast.passState[k] != kMarkedState) {
        ASSERT_EQ(bits(fast.passState[k]), bits(state)) << "pass " << k + 1;
      }
    }
  }
  EXPECT_EQ(bits(generator.state()), bits(replay.state()));
}

// Ties, and values the selection never takes: minus infinity, -99999.0 and
// below.
TEST(FastBootstrap, SortMatchesSelection) {
  std::mt19937 random(5);
  const float untaken[] = {-kInfinity, -99999.0f, -123456.0f};
  for (int i = 0; i < 40; ++i) {
    const int resamples = i % 4 == 3 ? 3000 : kResampleCount;
    PassRecords passes(resamples);
    const std::uint32_t distinct = 1 + random() % 50;
    const std::uint32_t untakenShare = random() % 3;  // tenths
    for (int k = 0; k < resamples; ++k) {
      passes.passA[k] =
          random() % 10 < untakenShare
              ? untaken[random() % 3]
              : static_cast<float>(random() % distinct) / 7.0f - 3.0f;
      passes.passState[k] = random() % 3 == 0 ? -1.0 : random() % 16777216u;
    }
    if (i == 1) std::fill(passes.passA.begin(), passes.passA.end(), -kInfinity);
    if (i % 4 == 0) passes.passA[random() % resamples] = kInfinity;
    expectSameBits(summarizeBySort(passes, 0.25f),
                   summarizeBySelection(passes, 0.25f));
  }
}

// NaNs anywhere, at the end, and before values that are all -99999.0 or
// below, which the selection then takes.
TEST(FastBootstrap, SortMatchesSelectionWithNaN) {
  std::mt19937 random(11);
  const float odd[] = {kNaN, -kNaN, -kInfinity, -99999.0f, -123456.0f};
  for (int i = 0; i < 60; ++i) {
    const int resamples = i % 5 == 4 ? 2000 : kResampleCount;
    PassRecords passes(resamples);
    const std::uint32_t oddShare = random() % 4;  // tenths
    for (int k = 0; k < resamples; ++k) {
      passes.passA[k] = random() % 10 < oddShare
                            ? odd[random() % 5]
                            : static_cast<float>(random() % 40) / 7.0f - 3.0f;
      passes.passState[k] = random() % 3 == 0 ? -1.0 : random() % 16777216u;
    }
    const int tail = static_cast<int>(random() % 4);
    for (int k = resamples - tail; k < resamples; ++k) {
      passes.passA[k] = i % 2 == 0 ? odd[random() % 5] : kNaN;
    }
    if (i % 3 == 0) passes.passA[random() % resamples] = kNaN;
    expectSameBits(summarizeBySort(passes, 0.25f),
                   summarizeBySelection(passes, 0.25f));
  }
}

}  // namespace
}  // namespace talvik
