#ifndef TALVIK_ANALYSIS_BOOTSTRAP_H_
#define TALVIK_ANALYSIS_BOOTSTRAP_H_

#include <array>
#include <optional>
#include <vector>

#include "analysis/resample_generator.h"
#include "analysis/size_file.h"

namespace talvik {

inline constexpr int kResampleCount = 1000;

// The outcome of the 1000 resamples. Index 0 holds position 1.
struct BootstrapResult {
  float observedA = 0.0f;
  float meanA = 0.0f;
  float shift = 0.0f;                            // observedA - meanA
  std::array<float, kResampleCount> orderedA{};  // largest first
  // The generator state before each resample at the same position, or -1.0
  // for a resample that lacks the largest observed size.
  std::array<double, kResampleCount> orderedState{};
};

// The bounds of A at one confidence level.
struct ErrorRange {
  int level = 0;  // percent, 1 to 99
  float lower = 0.0f;
  float upper = 0.0f;
  float width = 0.0f;  // from the unshifted ordered values
};

// Positions (1 to 1000) in orderedA of the upper and lower bound of a level.
struct BoundPositions {
  int upper;  // 500 - 5 x level
  int lower;  // 1001 - upper
};

// The A of the observed sizes (pass 0), computed on a copy.
float observedA(const ObservedSizes& sizes);

// Draws the 1000 resamples from the seeded generator and summarises them.
// REQUIRES: 1 <= sizes.size() <= 1000
BootstrapResult runBootstrap(const ObservedSizes& sizes,
                             ResampleGenerator& generator, float observedA);

// REQUIRES: 1 <= level <= 99
BoundPositions boundPositions(int level);
ErrorRange errorRange(const BootstrapResult& result, int level);

// The position (1 to 1000) of the resample plotted at each bound, or nullopt
// when every examined position is marked with a negative state.
std::optional<int> selectUpperResample(const BootstrapResult& result,
                                       const ErrorRange& range);
std::optional<int> selectLowerResample(const BootstrapResult& result,
                                       const ErrorRange& range);

// Draws again, ordered largest first, the resample recorded with `state`.
// REQUIRES: state >= 0 and state was recorded by runBootstrap for `sizes`
std::vector<float> regenerateResample(ResampleGenerator& generator,
                                      double state, const ObservedSizes& sizes);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_BOOTSTRAP_H_
