#include "analysis/difference_bootstrap.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/literal_bootstrap.h"
#include "analysis/nan_sign.h"
#include "analysis/random_sizes_testutil.h"
#include "gtest/gtest.h"

namespace talvik {
namespace {

std::uint32_t bitsOf(float value) {
  return std::bit_cast<std::uint32_t>(value);
}

// The differences rebuilt from the literal passes, the file's drawn where
// the reference's leave the generator.
DifferenceResult literalDifference(const ObservedSizes& reference,
                                   const ObservedSizes& file, double seed,
                                   int resamples) {
  ResampleGenerator generator(seed);
  const PassRecords first = runLiteralPasses(reference, generator, resamples);
  const PassRecords second = runLiteralPasses(file, generator, resamples);
  DifferenceResult result;
  result.observedDifference =
      pinNaNSign(observedA(file) - observedA(reference));
  float sum = 0.0f;
  std::vector<float> numbers;
  int nans = 0;
  for (int i = 0; i < resamples; ++i) {
    const float d = second.passA[i] - first.passA[i];
    sum = sum + d;
    if (std::isnan(d)) {
      ++nans;
    } else {
      numbers.push_back(d);
    }
  }
  std::sort(numbers.begin(), numbers.end(), std::greater<float>());
  numbers.insert(numbers.end(), nans, kMadeNaN);
  result.orderedDifference = numbers;
  result.meanDifference = pinNaNSign(sum / static_cast<float>(resamples));
  result.shift = pinNaNSign(result.observedDifference - result.meanDifference);
  return result;
}

TEST(DifferenceBootstrap, PairsTheLiteralPassesOfOneGeneratorStream) {
  RandomSizes random(2024);
  for (int run = 0; run < 3; ++run) {
    const ObservedSizes reference = random.next(random.count(40));
    const ObservedSizes file = random.next(random.count(40));
    const double seed = random.seed();
    const int resamples = run == 2 ? 2000 : 1000;
    const DifferenceResult fast =
        runDifferenceBootstrap(reference, file, seed, resamples);
    const DifferenceResult literal =
        literalDifference(reference, file, seed, resamples);
    EXPECT_EQ(bitsOf(fast.observedDifference),
              bitsOf(literal.observedDifference));
    EXPECT_EQ(bitsOf(fast.meanDifference), bitsOf(literal.meanDifference));
    EXPECT_EQ(bitsOf(fast.shift), bitsOf(literal.shift));
    ASSERT_EQ(fast.orderedDifference.size(),
              static_cast<std::size_t>(resamples));
    for (int i = 0; i < resamples; ++i) {
      ASSERT_EQ(bitsOf(fast.orderedDifference[i]),
                bitsOf(literal.orderedDifference[i]))
          << "run " << run << ", position " << i + 1;
    }
  }
}

TEST(DifferenceBootstrap, RangeTakesTheDialoguesPositionsPlusTheShift) {
  DifferenceResult result;
  result.shift = 0.5f;
  for (int i = 0; i < kResampleCount; ++i) {
    result.orderedDifference.push_back(static_cast<float>(1000 - i) / 8.0f);
  }
  const ErrorRange range = differenceRange(result, 90);
  // Positions 50 and 951.
  EXPECT_EQ(range.upper, 951.0f / 8.0f + 0.5f);
  EXPECT_EQ(range.lower, 50.0f / 8.0f + 0.5f);
  EXPECT_EQ(range.width, 901.0f / 8.0f);
}

TEST(DifferenceBootstrap, SameSizesDifferOnlyByTheirResamples) {
  const ObservedSizes sizes = {900, 400, 350, 120, 80, 60, 55, 20, 12, 9};
  const DifferenceResult result = runDifferenceBootstrap(sizes, sizes, 1234567);
  EXPECT_EQ(result.observedDifference, 0.0f);
  EXPECT_GT(result.orderedDifference.front(), 0.0f);
  EXPECT_LT(result.orderedDifference.back(), 0.0f);
  const ErrorRange range = differenceRange(result, 95);
  EXPECT_LT(range.lower, 0.0f);
  EXPECT_GT(range.upper, 0.0f);
}

TEST(DifferenceBootstrap, ANotANumberMakesTheBoundsThePinnedNaN) {
  const ObservedSizes zeros = {5, 0};
  const DifferenceResult result = runDifferenceBootstrap(zeros, zeros, 7);
  EXPECT_EQ(bitsOf(result.observedDifference), bitsOf(kMadeNaN));
  const ErrorRange range = differenceRange(result, 95);
  EXPECT_EQ(bitsOf(range.lower), bitsOf(kMadeNaN));
  EXPECT_EQ(bitsOf(range.upper), bitsOf(kMadeNaN));
}

}  // namespace
}  // namespace talvik
