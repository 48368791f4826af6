#ifndef TALVIK_ANALYSIS_BOOTSTRAP_H_
#define TALVIK_ANALYSIS_BOOTSTRAP_H_

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "analysis/observed_sizes.h"
#include "analysis/resample_generator.h"

namespace talvik {

// The dialogue's resamples; talvik-batch may draw more, in whole thousands up
// to kMaxResampleCount. The generator's stream goes on, so the first 1000
// resamples of any count are the dialogue's.
inline constexpr int kResampleCount = 1000;
inline constexpr int kMaxResampleCount = 100000;

// True for the counts the bootstrap accepts: kResampleCount to
// kMaxResampleCount in steps of kResampleCount.
bool isResampleCount(int resamples);

// The state recorded for a resample that lacks the largest observed size, and
// for a position of the ordering that no resample took. Such a resample is
// never drawn again for plotting.
inline constexpr double kMarkedState = -1.0;
// The running best's start in the ordering of the A values, what a taken
// value is overwritten with, and so what a position no resample took holds.
inline constexpr float kSelectionFloor = -99999.0f;

// True for kMarkedState; every other recorded state is a generator state,
// never negative.
inline bool isMarkedState(double state) { return state < 0.0; }

// The outcome of the resamples. Index 0 holds position 1.
struct BootstrapResult {
  // REQUIRES: isResampleCount(resamples)
  explicit BootstrapResult(int resamples = kResampleCount)
      : orderedA(resamples), orderedState(resamples) {}

  int resamples() const { return static_cast<int>(orderedA.size()); }

  float observedA = 0.0f;
  float meanA = 0.0f;
  float shift = 0.0f;           // observedA - meanA
  std::vector<float> orderedA;  // largest first
  // The generator state before each resample at the same position, or
  // kMarkedState.
  std::vector<double> orderedState;
};

// The bounds of A at one confidence level.
struct ErrorRange {
  int level = 0;  // percent, 1 to 99
  float lower = 0.0f;
  float upper = 0.0f;
  float width = 0.0f;  // from the unshifted ordered values
};

// The levels whose ranges every run reports, in the order they are shown.
inline constexpr std::array<int, 5> kReportedLevels = {99, 95, 90, 80, 66};

// Positions (1 to N, the resamples) in orderedA of the upper and lower bound
// of a level.
struct BoundPositions {
  int upper;  // N / 2 - level x N / 200; for 1000, 500 - 5 x level
  int lower;  // N + 1 - upper
};

// The A of the observed sizes (pass 0), computed on a copy.
float observedA(const ObservedSizes& sizes);

// Draws `resamples` resamples from the seeded generator and summarises them.
// REQUIRES: 1 <= sizes.size() <= 1000, isResampleCount(resamples)
BootstrapResult runBootstrap(const ObservedSizes& sizes,
                             ResampleGenerator& generator, float observedA,
                             int resamples = kResampleCount);

// REQUIRES: 1 <= level <= 99, isResampleCount(resamples)
BoundPositions boundPositions(int level, int resamples = kResampleCount);
ErrorRange errorRange(const BootstrapResult& result, int level);
// The range of `level` read from any resampled values ordered largest first:
// the values at the bound positions for their number, moved by `shift`; the
// width unshifted.
// REQUIRES: 1 <= level <= 99, isResampleCount(ordered.size())
ErrorRange rangeOfOrdered(std::span<const float> ordered, float shift,
                          int level);

// The position (1 to N) of the resample plotted at each bound, or nullopt
// when every examined position is marked.
std::optional<int> selectUpperResample(const BootstrapResult& result,
                                       const ErrorRange& range);
std::optional<int> selectLowerResample(const BootstrapResult& result,
                                       const ErrorRange& range);

// Draws again, ordered largest first, the resample recorded with `state`.
// REQUIRES: !isMarkedState(state), state recorded by runBootstrap for `sizes`
std::vector<float> regenerateResample(ResampleGenerator& generator,
                                      double state, const ObservedSizes& sizes);

// What a plotting file shows for one level, besides the observed sizes.
struct LevelAnalysis {
  ErrorRange range;
  std::vector<float> referenceLine;  // the largest observed size / rank
  // The resamples at the level's bounds, drawn again and ordered largest
  // first; the observed sizes when no position can be plotted.
  std::vector<float> upperResample;
  std::vector<float> lowerResample;
};

// The range of `level`, and its bound resamples drawn again from their
// recorded states with `generator`, whose state is left where the last draw
// leaves it.
// REQUIRES: 1 <= level <= 99, `result` from runBootstrap for `sizes`
LevelAnalysis analyseLevel(const ObservedSizes& sizes,
                           const BootstrapResult& result,
                           ResampleGenerator& generator, int level);

}  // namespace talvik

#endif  // TALVIK_ANALYSIS_BOOTSTRAP_H_
