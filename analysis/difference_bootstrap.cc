#include "analysis/difference_bootstrap.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "analysis/fast_bootstrap.h"
#include "analysis/literal_bootstrap.h"
#include "analysis/nan_sign.h"
#include "analysis/resample_generator.h"

namespace talvik {
namespace {

// The passes as runBootstrap draws them, the fast ones wherever exact.
PassRecords drawPasses(const ObservedSizes& sizes, ResampleGenerator& generator,
                       int resamples) {
  assert(!sizes.empty() &&
         sizes.size() <= static_cast<std::size_t>(kMaxSettlements));
  return fastPassesAreExact(sizes)
             ? runFastPasses(sizes, generator, resamples)
             : runLiteralPasses(sizes, generator, resamples);
}

}  // namespace

DifferenceResult runDifferenceBootstrap(const ObservedSizes& reference,
                                        const ObservedSizes& file, double seed,
                                        int resamples) {
  ResampleGenerator generator(seed);
  const PassRecords referencePasses =
      drawPasses(reference, generator, resamples);
  const PassRecords filePasses = drawPasses(file, generator, resamples);

  DifferenceResult result;
  result.orderedDifference.resize(static_cast<std::size_t>(resamples));
  result.observedDifference =
      pinNaNSign(observedA(file) - observedA(reference));
  float sum = 0.0f;
  for (std::size_t i = 0; i < result.orderedDifference.size(); ++i) {
    const float difference =
        pinNaNSign(filePasses.passA[i] - referencePasses.passA[i]);
    result.orderedDifference[i] = difference;
    sum = sum + difference;
  }
  result.meanDifference = pinNaNSign(sum / static_cast<float>(resamples));
  result.shift = pinNaNSign(result.observedDifference - result.meanDifference);
  // NaN last, so that the order is a strict one and the numbers in it keep
  // their positions whatever the NaN.
  auto& ordered = result.orderedDifference;
  const auto numbers = std::stable_partition(
      ordered.begin(), ordered.end(), [](float d) { return !std::isnan(d); });
  std::stable_sort(ordered.begin(), numbers,
                   [](float a, float b) { return a > b; });
  return result;
}

ErrorRange differenceRange(const DifferenceResult& result, int level) {
  return rangeOfOrdered(result.orderedDifference, result.shift, level);
}

}  // namespace talvik
