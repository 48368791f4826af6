#include "analysis/literal_bootstrap.h"

#include <cstddef>
#include <optional>

#include "analysis/nan_sign.h"
#include "analysis/rank_size_a.h"

namespace talvik {

std::vector<float> drawOrderedResample(ResampleGenerator& generator,
                                       const ObservedSizes& sizes) {
  const int n = static_cast<int>(sizes.size());
  std::vector<float> drawn(sizes.size());
  for (float& size : drawn) size = sizes[generator.drawPosition(n) - 1];
  return orderLargestFirstBySelection(drawn);
}

PassRecords runLiteralPasses(const ObservedSizes& sizes,
                             ResampleGenerator& generator, int resamples) {
  PassRecords passes(resamples);
  for (int k = 0; k < resamples; ++k) {
    passes.passState[k] = generator.state();
    std::vector<float> working = drawOrderedResample(generator, sizes);
    if (sizes[0] > working[0]) passes.passState[k] = kMarkedState;
    passes.passA[k] = rankSizeA(working);
  }
  return passes;
}

float meanPassA(const PassRecords& passes) {
  float sum = 0.0f;
  for (const float a : passes.passA) sum = sum + a;
  return pinNaNSign(sum / static_cast<float>(passes.passA.size()));
}

BootstrapResult summarizeBySelection(PassRecords passes, float observedA) {
  const int resamples = static_cast<int>(passes.passA.size());
  BootstrapResult result(resamples);
  result.observedA = observedA;
  result.meanA = meanPassA(passes);
  for (int i = 0; i < resamples; ++i) {
    float best = kSelectionFloor;
    std::optional<std::size_t> taken;
    for (std::size_t j = 0; j < passes.passA.size(); ++j) {
      if (!(best >= passes.passA[j])) {
        best = passes.passA[j];
        taken = j;
      }
    }
    result.orderedA[i] = best;
    result.orderedState[i] = taken ? passes.passState[*taken] : kMarkedState;
    if (taken) passes.passA[*taken] = kSelectionFloor;
  }
  result.shift = pinNaNSign(observedA - result.meanA);
  return result;
}

BootstrapResult runLiteralBootstrap(const ObservedSizes& sizes,
                                    ResampleGenerator& generator,
                                    float observedA, int resamples) {
  return summarizeBySelection(runLiteralPasses(sizes, generator, resamples),
                              observedA);
}

}  // namespace talvik
