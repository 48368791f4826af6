#ifndef TALVIK_ANALYSIS_DIFFERENCE_BOOTSTRAP_H_
#define TALVIK_ANALYSIS_DIFFERENCE_BOOTSTRAP_H_

#include <vector>

#include "analysis/bootstrap.h"
#include "analysis/observed_sizes.h"

namespace talvik {

// The difference A(file) - A(reference) and its resampled values. Index 0
// holds position 1.
struct DifferenceResult {
  float observedDifference = 0.0f;
  float meanDifference = 0.0f;  // of the resampled differences
  float shift = 0.0f;           // observedDifference - meanDifference
  // One per resample of each list, largest first, those that are not a
  // number last.
  std::vector<float> orderedDifference;
};

// Bootstraps A(file) - A(reference) from one seed: the reference's
// resamples are drawn first, then the file's from the same generator going
// on, so that the two sets are independent; the i-th difference pairs the
// i-th resample of each. Each set is drawn as runBootstrap draws it, so the
// reference's resampled A are the dialogue's for that seed.
// REQUIRES: both lists hold 1 to 1000 sizes, isUsableSeed(seed),
//           isResampleCount(resamples)
DifferenceResult runDifferenceBootstrap(const ObservedSizes& reference,
                                        const ObservedSizes& file, double seed,
                                        int resamples = kResampleCount);

// The range of the difference at `level`: the ordered differences at the
// bootstrap's bound positions for their number, moved by the shift; the
// width unshifted.
// REQUIRES: 1 <= level <= 99
ErrorRange differenceRange(const DifferenceResult& result, int level);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_DIFFERENCE_BOOTSTRAP_H_
