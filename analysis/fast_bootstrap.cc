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

namespace {

// The positions from `first` on whose values are above kSelectionFloor,
// ordered by a stable sort of their values, largest first.
std::vector<int> sortedAboveFloor(const std::vector<float>& values, int first) {
  std::vector<int> order;
  order.reserve(values.size() - static_cast<std::size_t>(first));
  for (int k = first; k < static_cast<int>(values.size()); ++k) {
    if (values[k] > kSelectionFloor) order.push_back(k);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&values](int a, int b) { return values[a] > values[b]; });
  return order;
}

}  // namespace

/* Why a stable sort orders the A values as the repeated selection does.
   Without NaN, the selection takes a value only when it is strictly greater
   than the running best, which starts at -99999.0 and only grows: a value of
   -99999.0 or less (minus infinity among them) is never taken, and a taken
   value becomes -99999.0, so it is never taken again. While values above
   -99999.0 remain, each output position receives the largest of them, the
   one of the lowest pass among equal ones; after that nothing is taken and
   the position keeps -99999.0 with the marked state.

   A NaN is taken wherever the scan meets it, and so is the value after it,
   whatever it is; from there on the scan takes only greater values. So a
   scan takes the last pass when it holds NaN, and otherwise the first
   largest value after the last NaN. A NaN in the last pass is the first
   position's and becomes -99999.0, after which the same holds of the passes
   left. While NaNs remain before the last pass, the positions take the
   values after the last NaN: those above -99999.0 in stable order, then the
   largest left, whose pass, the first to hold it, then holds -99999.0 and is
   taken for every position after. */
BootstrapResult summarizeBySort(const PassRecords& passes, float observedA) {
  const int resamples = static_cast<int>(passes.passA.size());
  std::vector<float> values = passes.passA;
  BootstrapResult result(resamples);
  result.observedA = observedA;
  result.meanA = meanPassA(passes);
  result.shift = pinNaNSign(observedA - result.meanA);
  int next = 0;
  const auto place = [&](int pass) {
    result.orderedA[next] = values[pass];
    result.orderedState[next] = passes.passState[pass];
    values[pass] = kSelectionFloor;
    ++next;
  };
  if (std::isnan(values.back())) place(resamples - 1);
  int lastNaN = resamples - 1;
  while (lastNaN >= 0 && !std::isnan(values[lastNaN])) --lastNaN;
  for (const int pass : sortedAboveFloor(values, lastNaN + 1)) place(pass);
  if (lastNaN < 0) {
    std::fill(result.orderedA.begin() + next, result.orderedA.end(),
              kSelectionFloor);
    std::fill(result.orderedState.begin() + next, result.orderedState.end(),
              kMarkedState);
    return result;
  }
  int largest = lastNaN + 1;
  for (int pass = largest + 1; pass < resamples; ++pass) {
    if (values[pass] > values[largest]) largest = pass;
  }
  while (next < resamples) place(largest);
  return result;
}

}  // namespace talvik
