#ifndef TALVIK_ANALYSIS_LITERAL_BOOTSTRAP_H_
#define TALVIK_ANALYSIS_LITERAL_BOOTSTRAP_H_

#include <vector>

#include "analysis/bootstrap.h"
#include "analysis/observed_sizes.h"
#include "analysis/resample_generator.h"

namespace talvik {

// The bootstrap done step by step as first written: every resample drawn with
// the double generator, ordered by repeated selection, its A computed by
// rankSizeA, and the A values ordered by repeated selection. It is the
// reference for the faster method, and its passes serve the lists that method
// cannot reproduce exactly (those holding NaN). The selection takes time in
// the square of the resamples.

// What the resampling passes record. Index k - 1 holds pass k.
struct PassRecords {
  explicit PassRecords(int resamples = kResampleCount)
      : passA(resamples), passState(resamples) {}

  // The A of each resample.
  std::vector<float> passA;
  // The generator state before each resample, or kMarkedState when the
  // resample lacks the largest observed size.
  std::vector<double> passState;
};

// Draws n positions of `sizes` and orders the drawn sizes largest first.
// REQUIRES: 1 <= sizes.size() <= 1000
std::vector<float> drawOrderedResample(ResampleGenerator& generator,
                                       const ObservedSizes& sizes);

// Passes 1 to `resamples`.
// REQUIRES: 1 <= sizes.size() <= 1000, isResampleCount(resamples)
PassRecords runLiteralPasses(const ObservedSizes& sizes,
                             ResampleGenerator& generator,
                             int resamples = kResampleCount);

// The mean of the A values, summed in pass order and divided by their count
// in float.
float meanPassA(const PassRecords& passes);

// meanA, shift, and the A values ordered by repeated selection: a running
// best from -99999.0 takes a value when it is not greater than or equal to
// it; the taken value becomes -99999.0. A position where nothing is taken
// keeps -99999.0 with the state -1.0.
BootstrapResult summarizeBySelection(PassRecords passes, float observedA);

// REQUIRES: 1 <= sizes.size() <= 1000, isResampleCount(resamples)
BootstrapResult runLiteralBootstrap(const ObservedSizes& sizes,
                                    ResampleGenerator& generator,
                                    float observedA,
                                    int resamples = kResampleCount);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_LITERAL_BOOTSTRAP_H_
