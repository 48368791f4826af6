#include "analysis/fast_bootstrap.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "analysis/counted_resample.h"
#include "analysis/nan_sign.h"
#include "analysis/observed_sizes.h"
#include "analysis/resample_rank_size_a.h"

namespace talvik {

bool fastPassesAreExact(const ObservedSizes& sizes) {
  for (std::size_t p = 0; p < sizes.size(); ++p) {
    if (std::isnan(sizes[p])) return false;
    if (p > 0 && !(sizes[p - 1] >= sizes[p])) return false;
  }
  return true;
}

PassRecords runFastPasses(const ObservedSizes& sizes,
                          ResampleGenerator& generator, int resamples) {
  constexpr int kBatch = ResampleRankSizeA::kBatch;
  static_assert(kResampleCount % kBatch == 0);
  assert(resamples % kBatch == 0);
  ResampleRankSizeA resampleA(sizes);
  CountedResample resample(static_cast<int>(sizes.size()));
  PassRecords passes(resamples);
  for (int k = 0; k < resamples; k += kBatch) {
    for (int slot = 0; slot < kBatch; ++slot) {
      passes.passState[k + slot] = generator.state();
      resample.draw(generator);
      if (sizes[0] > orderedSize(sizes[resample.firstPosition()])) {
        passes.passState[k + slot] = kMarkedState;
      }
      resampleA.take(resample, slot);
    }
    const std::array<float, kBatch> as = resampleA.batchAs();
    std::copy(as.begin(), as.end(), passes.passA.begin() + k);
  }
  return passes;
}

std::vector<float> drawCountedResample(ResampleGenerator& generator,
                                       const ObservedSizes& sizes) {
  CountedResample resample(static_cast<int>(sizes.size()));
  resample.draw(generator);
  std::vector<float> ordered;
  ordered.reserve(sizes.size());
  for (const int position : resample.positionByRank()) {
    ordered.push_back(orderedSize(sizes[position]));
  }
  return ordered;
}

bool sortIsExact(const PassRecords& passes) {
  return std::none_of(passes.passA.begin(), passes.passA.end(),
                      [](float a) { return std::isnan(a); });
}

/* Why a stable sort orders the A values as the repeated selection does when
   none is NaN. Then the selection takes a value only when it is strictly
   greater than the running best, which starts at -99999.0 and only grows:
   a value of -99999.0 or less (minus infinity among them) is never taken,
   and a taken value becomes -99999.0, so it is never taken again. While
   values above -99999.0 remain, each output position receives the largest
   of them, the one of the lowest pass among equal ones; after that nothing
   is taken and the position keeps -99999.0 with the marked state. That is
   the stable sort, largest first, of the values above -99999.0, each with
   its pass's state, followed by the untaken positions. */
BootstrapResult summarizeBySort(const PassRecords& passes, float observedA) {
  const int resamples = static_cast<int>(passes.passA.size());
  std::vector<int> order;
  order.reserve(passes.passA.size());
  for (int k = 0; k < resamples; ++k) {
    if (passes.passA[k] > kSelectionFloor) order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(), [&passes](int a, int b) {
    return passes.passA[a] > passes.passA[b];
  });
  BootstrapResult result(resamples);
  result.observedA = observedA;
  result.meanA = meanPassA(passes);
  std::fill(result.orderedA.begin(), result.orderedA.end(), kSelectionFloor);
  std::fill(result.orderedState.begin(), result.orderedState.end(),
            kMarkedState);
  for (std::size_t i = 0; i < order.size(); ++i) {
    result.orderedA[i] = passes.passA[order[i]];
    result.orderedState[i] = passes.passState[order[i]];
  }
  result.shift = pinNaNSign(observedA - result.meanA);
  return result;
}

}  // namespace talvik
