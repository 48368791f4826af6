#ifndef TALVIK_ANALYSIS_FAST_BOOTSTRAP_H_
#define TALVIK_ANALYSIS_FAST_BOOTSTRAP_H_

#include <vector>

#include "analysis/bootstrap.h"
#include "analysis/literal_bootstrap.h"
#include "analysis/observed_sizes.h"
#include "analysis/resample_generator.h"

namespace talvik {

// The bootstrap computed with the work shared between resamples done once per
// run. Wherever it applies it gives bit for bit what the literal bootstrap
// gives; runBootstrap checks that it applies and otherwise falls back.

// True when the sizes hold no NaN and never increase, as orderLargestFirst
// leaves every list without NaN. Then the counted ordering and the shared
// logarithms reproduce the literal passes exactly.
bool fastPassesAreExact(const ObservedSizes& sizes);

// Passes 1 to `resamples`, identical to runLiteralPasses.
// REQUIRES: fastPassesAreExact(sizes) and 1 <= sizes.size() <= 1000,
//           isResampleCount(resamples)
PassRecords runFastPasses(const ObservedSizes& sizes,
                          ResampleGenerator& generator,
                          int resamples = kResampleCount);

// Identical to drawOrderedResample.
// REQUIRES: fastPassesAreExact(sizes) and 1 <= sizes.size() <= 1000
std::vector<float> drawCountedResample(ResampleGenerator& generator,
                                       const ObservedSizes& sizes);

// Identical to summarizeBySelection, in time N log N for N resamples where
// the selection takes N x N.
BootstrapResult summarizeBySort(const PassRecords& passes, float observedA);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_FAST_BOOTSTRAP_H_
